# Tolme in an Ableton Link session with a real peer (tests/e2e/tools/link_peer, built from Debian's Link
# headers), on the private JACK server, in a network namespace of the test's own: loopback up with multicast
# and a route for 224.0.0.0/4 on it, so that no packet leaves the machine. The peer leads at 120 BPM and has
# started; Tolme joins with --sync link --link-start-stop. The peer places each of Tolme's notes (from
# Tolme's midi_out, at the frame its sound starts) on the session's beat at the moment it is heard: column
# 0's notes on beat 0 of a bar, the others on their beats, at 120 BPM. Tolme's = reaches the peer as 121 BPM
# (a step from the session's tempo, not the pattern's 87.89); the peer's 130 BPM reaches Tolme's notes; the
# peer's stop silences Tolme and Tolme's P starts and stops the peer. Then Tolme on the desktop's sound joins
# too and follows the session's tempo. Prints the phase error and how long the tempos took.
if [ -z "${TOLME_LINK_NAMESPACE:-}" ]; then
  exec env TOLME_LINK_NAMESPACE=1 unshare -n bash "$0" "$@"
fi
ip link set lo up
ip link set lo multicast on
ip route add 224.0.0.0/4 dev lo
source "$(dirname "$0")/harness.sh"
link_peer="$tools_dir/link_peer"
peer_log="$work_dir/peer.log"

# peer_says PATTERN [SECONDS]: until the peer's log has a line matching the pattern after the lines counted in
# $peer_seen; prints that line.
peer_seen=0
peer_says() {
  for _ in $(seq $((${2:-5} * 20))); do
    line=$(tail -n +"$((peer_seen + 1))" "$peer_log" | grep -m 1 -E "$1" || true)
    [ -n "$line" ] && { echo "$line"; return 0; }
    sleep 0.05
  done
  fail "the peer never said '$1': $(tail -n 5 "$peer_log")"
}
mark_peer() { peer_seen=$(wc -l <"$peer_log"); }
peer() { echo "$*" >&5; }

start_jackd
# Column 0 holds a key of its own (EARTH, bottom row); columns 4, 8 and 12 another (FIRE): a note every beat.
pattern="................/................/................/................/................/................/................/1...4...4...4..."
song="$work_dir/link.tolme"
write_pattern "$song" "$pattern"

exec 5> >(exec "$link_peer" 120 >"$peer_log" 2>&1)
jack_clients+=($!)
peer_says " ready" >/dev/null
jack_connect link_peer:out system:playback_1
peer start
peer_says " playing 1" >/dev/null
sleep 1

mark_peer
start_on_jack --sync link --link-start-stop "$song"
jack_connect tolme:midi_out link_peer:midi_in
peer_says " peers 1" >/dev/null
grep -q "heard 512 frames" "$work_dir/stderr.log" || fail "Tolme's latency is not the peer's 512 frames"
key a
sleep 7
screenshot link
mark_peer
pressed=$EPOCHREALTIME
key equal
heard=$(peer_says " tempo 121.00" | awk '{print $1}')
echo "= in Tolme: the peer at 121 BPM $(echo "1000 * ($heard - $pressed)" | bc -l | xargs printf '%.0f') ms after the key"
sleep 2
peer tempo 130
sleep 6
mark_peer
peer stop
peer_says " did stop" >/dev/null
sleep 2
# The session's start reaches the peer through Link's own threads, after the note on the bar when P comes just
# before one: Tolme's notes from P on are told apart by a mark just before the key instead.
peer mark
peer_says " did mark" >/dev/null
mark_peer
key p
peer_says " playing 1" >/dev/null
sleep 4
mark_peer
key p
peer_says " playing 0" >/dev/null
sleep 1
key Escape
expect_exit 0

# On the desktop's sound (OpenAL Soft's wave writer): Tolme joins the session at 130 BPM, its = reaches the
# peer, and its notes come a whole number of beats apart at 131 BPM (the onsets found to 128 frames). The
# capture's frames are the device's, whose clock may run a little apart from the session's, so the phase is
# measured on JACK only. Left alone, the peer founds a new session (Link's rule), which the older one wins
# when two meet: Tolme starts well after it.
peer_says " peers 0" >/dev/null
sleep 1.5
mark_peer
# Two EARTH notes a bar, whose attacks stand clear of the tails before them.
write_pattern "$song" "................/................/................/................/................/................/................/1.......1......."
start_tolme "" --audio desktop --sync link "$song"
wait_for_window "Tolme - A Musical Instrument"
peer_says " peers 1" >/dev/null
sleep 2
key equal
peer_says " tempo 131.00" >/dev/null
sleep 6
key Escape
expect_exit 0
peer quit
sleep 0.3
cp "$capture_file" "$artifacts_dir/desktop.wav"
cp "$peer_log" "$work_dir/jackd.log" "$artifacts_dir/"
"$timing_probe" --onsets "$capture_file" 0 100 >"$work_dir/onsets.txt"
# The onsets of the last 5 s, all after the =.
awk -v beat="$(echo "60 / 131" | bc -l)" '{ t[NR] = $2 }
  END { n = 0; for (i = 1; i < NR; i++) if (t[i] > t[NR] - 5) { d = t[i + 1] - t[i]; k = int(d / beat + 0.5); off = d - k * beat; n++
          if (k < 1 || off > 0.006 || off < -0.006) { print "an interval of " d " s"; exit 1 } }
        print n " intervals between the desktop'"'"'s last notes, each a whole number of beats at 131 BPM"; exit n < 4 }' "$work_dir/onsets.txt" ||
  fail "the desktop's notes are not at the session's tempo"

# The peer's log in parts, each note's distance from its beat in frames (column 0's from its bar, the others'
# from their beat), at the tempo the peer last reported. On the loaded test machine an xrun (the dummy driver
# woken late, a client not done in time) now and then puts a note a few milliseconds off, which the line then
# runs out like any small difference: the checks ask that every note is on its beat within a cycle; the
# figures tell how many were on their frame and how even the intervals were.
figures=$(awk -v rate=48000 '
  function off(key, beat,   unit, e) { unit = key == 60 ? 4 : 1; e = beat - unit * int(beat / unit + 0.5); return e * 60 / bpm * rate }
  function abs(x) { return x < 0 ? -x : x }
  function interval(d, low, high) { intervals[part]++; if (d >= low && d <= high) even[part]++ }
  BEGIN { bpm = 120; part = "joining" }
  $2 == "xrun" { xruns++ }
  $2 == "tempo" { bpm = $3; if ($3 == "121.00") part = "at121" }
  $2 == "did" && $3 == "tempo" { part = "at130"; changed = $4 }
  $2 == "did" && $3 == "stop" { part = "stopped"; stopped = $4 }
  $2 == "did" && $3 == "mark" { part = "again" }
  $2 == "playing" && $3 == 0 && part == "again" { part = "end"; ended = $1 }
  $2 == "note" {
    e = off($3, $4)
    if (part == "joining" && $3 == 60 && abs(e) <= 300) part = "at120"
    n[part]++
    if (part in last_frame) {
      d = $5 - last_frame[part]
      if (part == "at120") interval(d, 23999, 24001)
      if (part == "at121") interval(d, 23799, 23804)
      if (part == "at130" && settled != "") interval(d, 22148, 22160)
    }
    last_frame[part] = $5
    if (part == "at120" || part == "at121") { judged++; on_frame += abs(e) <= 12; worst = abs(e) > worst ? abs(e) : worst; if ($3 == 60) { bars++; sum += abs(e) } }
    if (part == "at130") { if (first130 == "") first130 = e; if (settled == "" && abs(e) <= 12) settled = ($5 - changed) / rate
                           if (settled != "") worst = abs(e) > worst ? abs(e) : worst }
    if (part == "stopped" && $5 > stopped + 1024) late++
    if (part == "again" && first_again == "") first_again = $3 " " e
    if (part == "end" && $1 > ended + 0.1) late++
  }
  END {
    printf "%d %d %d %.1f %.2f %d %d %d %d %d %d %d %.2f %s %d %d %s %d %d\n", n["joining"], n["at120"], bars, worst, sum / bars,
      judged, on_frame, even["at120"], intervals["at120"], even["at121"], n["at130"], even["at130"], first130,
      settled == "" ? "never" : settled, intervals["at130"], late + 0, first_again, xruns + 0, intervals["at121"]
  }' "$peer_log")
read -r before notes120 bars worst mean judged on_frame even120 intervals120 even121 notes130 even130 first130 settled \
  intervals130 late again_key again_off xruns intervals121 <<<"$figures"
echo "joined on the session's bar after $before notes of Tolme's own; at 120 BPM: $notes120 notes, $even120 of $intervals120 intervals 24000 frames to one (120 BPM)"
echo "phase: $bars column 0 notes on the peer's bars, mean $mean frames off; of $judged notes heard at 120 and 121 BPM $on_frame within 12 frames of their beat; the worst of these and the settled ones at 130 BPM $worst frames ($xruns xruns)"
echo "at 121 BPM: $even121 of $intervals121 intervals 23801.7 frames to a frame or two"
echo "the peer's 130 BPM: the first note $first130 frames off, within 0.25 ms (12 frames) $settled s after; from then on $even130 of $intervals130 intervals 22153.8 frames to a few"
[ "$notes130" -ge 8 ] || fail "too few notes at 130 BPM: $notes130"
[ "$again_key" = 60 ] || fail "P did not start Tolme with column 0's notes but with key $again_key"
# Every note on its beat within a cycle and a little (a line off the session's tempo drifts past that within a
# few beats: at 120 against 121 BPM by 200 frames a beat), unless the machine was too busy to keep JACK's
# cycles at all, when a note may sound whole cycles late and nothing can be judged to the beat.
if [ "$xruns" -le "$busy_xruns" ]; then
  [ "$notes120" -ge 10 ] || fail "only $notes120 notes on the session's beat at 120 BPM"
  awk -v w="$worst" 'BEGIN { exit !(w <= 300) }' || fail "a note $worst frames off the peer's beat"
  awk -v e="$again_off" 'BEGIN { exit !(e <= 300 && e >= -300) }' ||
    fail "P did not start Tolme on the session's bar: $again_off frames off"
  [ "$xruns" -gt 4 ] || awk -v s="$settled" 'BEGIN { exit !(s != "never" && s < 4) }' ||
    fail "Tolme took $settled s to settle on 130 BPM"
else
  echo "$xruns xruns: the machine was too busy for the notes to be judged on their beats"
fi
[ "$late" -eq 0 ] || fail "$late notes while the session stopped"
echo "link: passed"
