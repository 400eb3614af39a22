# Every note at the exact frame at which the line reaches its token, heard through OpenAL Soft's wave writer:
# also while the display server is frozen for half a second mid-play, as a compositor's hiccup stalls the
# frame loop, and after it.
source "$(dirname "$0")/harness.sh"

play_pattern "$climbing_pattern"
sleep 5
kill -STOP "$xvfb_pid"
sleep 0.5
kill -CONT "$xvfb_pid"
sleep 5
key Escape
expect_exit 0
cp "$capture_file" "$artifacts_dir/capture.wav"
expect_on_time "$climbing_pattern" "$placed" 25
echo "note timing: passed"
