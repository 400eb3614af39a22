# A JACK server that does not answer (stopped) keeps Tolme's window waiting no more than a second, and it
# plays through the desktop's sound. The JACK server killed while Tolme plays through it with --audio auto:
# the window carries on, the loss is told and within 2 s Tolme plays on through the desktop's sound device
# (here OpenAL Soft's wave writer at 48 kHz), the line in its own time with every note on its frame; the
# process does not spin, and Escape still ends it with status 0. With --audio jack it plays on in silence and
# says so on standard error. A server that refuses Tolme's ports leaves it on the desktop's sound. With no
# server, --audio jack ends at once with status 1.
source "$(dirname "$0")/harness.sh"

printf '[general]\ndrivers=wave\nfrequency=48000\n[wave]\nfile=%s\n' "$capture_file" >"$work_dir/alsoft.conf"
start_jackd
pattern="1...1...1...1.../................/................/................/..2.......2...../................/................/................"
song="$work_dir/loss.tolme"
write_pattern "$song" "$pattern"

kill -STOP "$jackd_pid"
asked=$EPOCHREALTIME
start_tolme "" "$song"
wait_for_window "Tolme - A Musical Instrument"
waited=$(echo "$EPOCHREALTIME - $asked" | bc -l)
key Escape
expect_exit 0
kill -CONT "$jackd_pid"
printf 'window after %.2f s with the JACK server not answering\n' "$waited"
! grep -q "playing through JACK" "$work_dir/stderr.log" || fail "a server that did not answer was used"
awk -v s="$waited" 'BEGIN { exit !(s < 3) }' || fail "the window waited $waited s"

start_on_jack "$song"
sleep 2
killed=$(date +%s.%N)
kill -9 "$jackd_pid"
jackd_pid=""
moved=""
for _ in $(seq 60); do
  if grep -q "The JACK server is gone: playing on through the desktop's sound" "$work_dir/stderr.log"; then
    moved=$(echo "$(date +%s.%N) - $killed" | bc -l)
    break
  fi
  kill -0 "$tolme_pid" 2>/dev/null || fail "the program ended when the server went away"
  sleep 0.05
done
[ -n "$moved" ] || fail "no move to the desktop's sound within 3 s"
printf 'moved to the desktop within %.2f s\n' "$moved"
awk -v s="$moved" 'BEGIN { exit !(s < 2) }' || fail "the move took $moved s"
sleep 1
# The notice still tells the move (a wide line), not a return of the sound ("Sound is back", a short one).
screenshot after_loss
notice_width=$(convert "$artifacts_dir/after_loss.png" -crop 1024x24+0+14 +repage -threshold 30% -trim -format '%w' info:)
[ "$notice_width" -gt 200 ] || fail "the notice after the move is $notice_width px wide"
share=$(cpu_share 3)
echo "CPU after the move: $share % of a core"
awk -v s="$share" 'BEGIN { exit !(s < 90) }' || fail "the program spins at $share %"
sleep 3
key Escape
expect_exit 0
cp "$capture_file" "$artifacts_dir/after_loss.wav"
echo "the desktop's sound after the move:"
probe_options=(--rate 48000 --beat)
expect_on_time "$pattern" 0.5 6

# With --audio jack the line goes on in silence, and the loss is told on standard error too.
start_jackd
start_on_jack --audio jack "$song"
kill -9 "$jackd_pid"
jackd_pid=""
sleep 1.5
grep -q "The JACK server is gone: playing on in silence" "$work_dir/stderr.log" || fail "the loss was not told"
key Escape
expect_exit 0

# A server with no room for Tolme's ports (six, the dummy driver's four taken): with --audio auto Tolme plays
# through the desktop's sound instead, and says why.
start_jackd --port-max 6
start_tolme "" "$song"
wait_for_window "Tolme - A Musical Instrument"
sleep 3
key Escape
expect_exit 0
end_process "$jackd_pid"
jackd_pid=""
grep -q "JACK refused Tolme's ports: playing on through the desktop's sound" "$work_dir/stderr.log" ||
  fail "a refused client was not played through the desktop's sound"
expect_on_time "$pattern" 0.5 4

status=0
"$tolme_binary" --audio jack 2>"$work_dir/stderr.log" || status=$?
[ "$status" -eq 1 ] && grep -q "no JACK server answered" "$work_dir/stderr.log" || fail "--audio jack with no server: status $status"
echo "jack loss: passed"
