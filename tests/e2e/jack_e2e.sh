# Tolme on a real JACK server, heard by JACK's own clients: jack_midi_dump -a sees every note and clock on
# midi_out at its frame on the beat grid (the default tempo's quarter is exactly 32768 frames at 48 kHz and
# its clock's fraction is carried), jack_rec records out_left and out_right, where every note sounds on its
# frame and exactly where its MIDI note is; the dump, connected while Tolme plays, gets the song's place and
# Continue on the next column; Escape ends with Stop and All Notes Off and status 0.
source "$(dirname "$0")/harness.sh"
midi_probe="$tools_dir/midi_probe"

start_jackd
# A key only column 0 holds anchors the grid; a note in an odd column and two elements in one column.
pattern="1.....3........./................/..2.........4.../................/.......1......../................/................/....3.....2....."
song="$work_dir/studio.tolme"
write_pattern "$song" "$pattern"

# hear_a_run: Tolme from start to Escape, its MIDI dumped and its sound recorded; sets xruns to the cycles the
# server said it lost meanwhile.
hear_a_run() {
  start_on_jack "$song"
  jack_lsp -c | grep -A1 '^tolme:out_left$' | grep -q system:playback_1 || fail "out_left is not connected to the first playback port"
  xruns=$(jack_xruns)
  dump_midi "$work_dir/midi.txt" tolme:midi_out
  jack_rec -f "$work_dir/jack.wav" -d 8 tolme:out_left tolme:out_right >"$work_dir/jack_rec.log" 2>&1 &
  local rec_pid=$!
  sleep 9
  xruns=$(($(jack_xruns) - xruns))
  key Escape
  expect_exit 0
  sleep 0.3
  end_process "$dump_pid" "$rec_pid"
}

heard_quietly hear_a_run
cp "$work_dir/midi.txt" "$work_dir/jack.wav" "$artifacts_dir/"
grep -q "playing through JACK as tolme at 48000 Hz" "$work_dir/stderr.log" || fail "not on JACK: $(cat "$work_dir/stderr.log")"
grep -q "0 MIDI messages in and 0 out dropped, 0 notes" "$work_dir/stderr.log" || fail "the audio thread dropped: $(tail -n 1 "$work_dir/stderr.log")"

figures=$("$midi_probe" grid "$work_dir/midi.txt" "$pattern" 32768 "$xruns") || fail "MIDI: $figures"
read -r _ notes clocks worst_note worst_clock leaps joins <<<"$figures"
echo "MIDI out: $notes notes and $clocks clocks, worst $worst_note and $worst_clock frames off their frames ($leaps cycles lost by a client, $xruns xruns), $joins song position for the dump that joined"
[ "$notes" -ge 20 ] && [ "$clocks" -ge 150 ] && [ "$leaps" -le $((2 + xruns)) ] ||
  fail "too few notes or clocks, or more cycles lost than the server told"
[ "$worst_note" -eq 0 ] && [ "$worst_clock" -eq 0 ] || fail "a note or a clock off its frame"
# The dump connected while Tolme played: the next column's clock brought it the song's place and Continue
# (unless a lost cycle took them).
[ "$joins" -eq 1 ] || { [ "$joins" -eq 0 ] && [ "$xruns" -gt 0 ]; } ||
  fail "$joins Song Position Pointers with Continue for the dump that connected while Tolme played"
tail -n 5 "$work_dir/midi.txt" | grep -q ": fc" || fail "no Stop at the end"
[ "$(grep -c ': b[0-3] 7b 00' "$work_dir/midi.txt")" -eq 4 ] || fail "no All Notes Off on the four channels at the end"

[ "$quiet" = 1 ] || { echo "jack: passed"; exit 0; }
echo "out_left and out_right, recorded:"
figures=$(cd "$repo_root" && TIMING_PROBE_EACH=1 "$timing_probe" --rate 48000 --beat "$work_dir/jack.wav" "$pattern" 0.5) ||
  fail "timing probe: $figures"
grep '^onset' <<<"$figures" >"$work_dir/onsets.txt"
read -r _ onsets lost _ _ worst _ <<<"$(grep '^timing' <<<"$figures")"
echo "notes timed: $onsets, lost $lost, worst deviation $worst ms"
[ "$onsets" -ge 10 ] && [ "$lost" -eq 0 ] || fail "$lost notes lost of $onsets"
# A cycle lost on the busy machine moves every later note by a whole cycle, in the sound as in the MIDI (the
# grid's leaps); the sound against MIDI check below holds them together. So every note is on its frame or
# whole cycles off it, the cycles only ever growing or only ever shrinking, at most twice and once more for
# each xrun (the recorder may lose a cycle the dump kept).
leaps=$(awk '{ f = $3 * 48000 / 1000 / 256; k = int(f + (f < 0 ? -0.5 : 0.5))
               if ((f - k) * 256 > 0.5 || (k - f) * 256 > 0.5 || (NR > 1 && (k - last) * turn < 0)) off = 1
               if (NR > 1 && k != last) { ++n; turn = k - last }
               last = k }
             END { print (off || n > 2 + xruns) ? "off" : n + 0 }' xruns="$xruns" "$work_dir/onsets.txt")
[ "$leaps" != off ] || fail "a note is $worst ms off its frame"
[ "$leaps" -eq 0 ] || echo "the sound leapt $leaps whole cycles with the MIDI"
figures=$("$midi_probe" match "$work_dir/midi.txt" "$work_dir/onsets.txt" "$xruns") || fail "sound against MIDI: $figures"
echo "every sounded note lies on its MIDI note (the recording began $(awk '{print $3}' <<<"$figures") frames into the dump)"
echo "jack: passed"
