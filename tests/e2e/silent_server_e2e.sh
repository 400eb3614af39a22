# A sound server that accepts clients but never readies a stream (PipeWire's PulseAudio server without its
# session manager, WirePlumber): opening the sound device never returns, yet the window and the start menu come
# within a second, play goes on in silence with a notice after 3 s, and Escape ends the program with status 0.
source "$(dirname "$0")/harness.sh"

start_pipewire_without_session_manager
started=$(date +%s.%N)
start_tolme
wait_for_window "Tolme - A Musical Instrument"
shown=$(echo "$(date +%s.%N) - $started" | bc -l)
echo "window shown $shown s after the start"
awk -v t="$shown" 'BEGIN { exit !(t <= 1) }' || fail "the window came only after $shown s"
sleep 4
screenshot no_sound_yet
grep -q "No sound device has opened yet" "$work_dir/stderr.log" || fail "no word of the sound device that did not open"
# The device's opening still waits on the server: the case this test is about.
grep -qx tolme-open /proc/"$tolme_pid"/task/*/comm || fail "the device opened: the server readied the stream after all"
key Escape
expect_exit 0
echo "silent server: passed"
