# Tolme following other machines on a real JACK server: with --sync midi it waits for a clock (and says so
# after 2 s), jack_midi_clock's Start puts column 0's notes on the first clock, every note then comes on the
# clock's frames at its tempo (also when the clock leaps by a cycle it lost), and its Stop ends every note at
# once; with --sync jack, jack_transport as
# timebase master at 117.1875 BPM (where its bar, beat and tick are exact) rolls the line from bar 1 with
# each note on its sixteenth, and stopping the transport stops it.
source "$(dirname "$0")/harness.sh"
midi_probe="$tools_dir/midi_probe"

start_jackd
pattern="1.......1......./................/................/....2.......2.../................/................/................/3..............."
song="$work_dir/follow.tolme"
write_pattern "$song" "$pattern"

# transport COMMAND...: jack_transport's commands, through the one client that stays master.
exec 4> >(jack_transport >/dev/null 2>&1)
jack_clients+=($!)
transport() { for command in "$@"; do echo "$command" >&4; done; sleep 0.3; }

# follow_a_clock: Tolme with --sync midi, jack_midi_clock at 120 BPM rolled by the transport for 6 s.
follow_a_clock() {
  transport locate\ 0
  start_on_jack --sync midi "$song"
  key a
  jack_midi_clock -b 120 >"$work_dir/midi_clock.log" 2>&1 &
  local clock_pid=$!
  wait_for_port jack_midi_clock:mclk_out
  jack_connect jack_midi_clock:mclk_out tolme:midi_in
  xruns=$(jack_xruns)
  dump_midi "$work_dir/midi_clock.txt" jack_midi_clock:mclk_out tolme:midi_out
  sleep 2.5
  grep -q "No MIDI clock on midi_in for 2 s" "$work_dir/stderr.log" || fail "no word of the missing clock"
  transport play
  sleep 6
  screenshot following_midi_clock
  transport stop
  sleep 1
  xruns=$(($(jack_xruns) - xruns))
  key Escape
  expect_exit 0
  end_process "$clock_pid" "$dump_pid"
}

# follow_the_transport: Tolme with --sync jack, jack_transport as master rolling at 117.1875 BPM for 6 s.
follow_the_transport() {
  transport locate\ 0
  start_on_jack --sync jack "$song"
  key a
  xruns=$(jack_xruns)
  dump_midi "$work_dir/transport.txt" tolme:midi_out
  transport master "tempo 117.1875" play
  sleep 6
  screenshot following_jack_transport
  transport stop
  sleep 1
  xruns=$(($(jack_xruns) - xruns))
  grep -c ': 9' "$work_dir/transport.txt" >/dev/null || fail "no notes while the transport rolled"
  local notes_at_stop
  notes_at_stop=$(grep -c ': 9' "$work_dir/transport.txt")
  sleep 1
  [ "$(grep -c ': 9' "$work_dir/transport.txt")" -eq "$notes_at_stop" ] || fail "notes after the transport stopped"
  key Escape
  expect_exit 0
  end_process "$dump_pid"
}

heard_quietly follow_a_clock
cp "$work_dir/midi_clock.txt" "$artifacts_dir/"
if [ "$quiet" = 1 ]; then
  figures=$("$midi_probe" follow "$work_dir/midi_clock.txt") || fail "following the MIDI clock: $figures"
  read -r _ notes worst <<<"$figures"
  echo "--sync midi: $notes notes on jack_midi_clock's clocks at 120 BPM, worst $worst frames off"
  [ "$notes" -ge 8 ] && [ "$worst" -le 1 ] || fail "the notes strayed from the clock"
fi

heard_quietly follow_the_transport
cp "$work_dir/transport.txt" "$artifacts_dir/"
first_start=$(awk '$2 == "fa" {print $1; exit}' "$work_dir/transport.txt")
first_note=$(awk '$2 ~ /^9/ {print $1; exit}' "$work_dir/transport.txt")
[ "$first_start" = "$first_note" ] || fail "Start at $first_start, column 0's notes at $first_note"
if [ "$quiet" = 1 ]; then
  figures=$("$midi_probe" grid "$work_dir/transport.txt" "$pattern" 24576 "$xruns") ||
    fail "following the transport: $figures"
  read -r _ notes clocks worst_note worst_clock leaps _ <<<"$figures"
  echo "--sync jack: $notes notes and $clocks clocks at 117.1875 BPM, worst $worst_note and $worst_clock frames off ($leaps cycles lost by a client, $xruns xruns)"
  [ "$notes" -ge 8 ] && [ "$worst_note" -eq 0 ] && [ "$worst_clock" -eq 0 ] && [ "$leaps" -le $((2 + xruns)) ] ||
    fail "the notes strayed from the transport"
fi
echo "jack sync: passed"
