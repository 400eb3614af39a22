# Every note at the exact frame at which the line reaches its token, heard through OpenAL Soft's wave writer:
# also while the display server is frozen for half a second mid-play, as a compositor's hiccup stalls the
# frame loop, and after it.
source "$(dirname "$0")/harness.sh"

# Eight notes in every other column, climbing, the four elements in turn.
pattern="..............4./............3.../..........2...../........1......./......4........./....3.........../..2............./1..............."

started=$(date +%s.%N)
start_tolme
wait_for_window "Tolme - A Musical Instrument"
sleep 1
place_pattern "$pattern"
# The capture starts when the program opens its sound device, a little after it was started: script times
# are upper bounds of capture times. The last selection chime has faded a second later.
placed=$(echo "$(date +%s.%N) - $started + 1" | bc -l)
sleep 5
kill -STOP "$xvfb_pid"
sleep 0.5
kill -CONT "$xvfb_pid"
sleep 5
key Escape
expect_exit 0
cp "$capture_file" "$artifacts_dir/capture.wav"
expect_on_time "$pattern" "$placed" 25
echo "note timing: passed"
