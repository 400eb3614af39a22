# Playing with the keys alone, as a player who does not use the mouse: elements chosen with A S D F, the
# cursor moved with the arrows, Home and End, tokens placed with Space and Enter and one cleared with Delete;
# every note is heard at the cursor's cells, exactly as the program's own rendering of that pattern, and the
# cleared one falls silent.
source "$(dirname "$0")/harness.sh"

since_start() { echo "$(date +%s.%N) - $started" | bc -l; }
keys() { for k in "$@"; do key "$k"; done; }
placed="......3........./................/..............4./................/..........2...../................/................/..1............."
cleared="......3........./................/..............4./................/..........2...../................/................/................"

started=$(date +%s.%N)
start_tolme
wait_for_window "Tolme - A Musical Instrument"
sleep 1
keys d Down Right Right Right Right Right Right space             # WATER at column 6 of the top row
keys s Down Down Down Down Right Right Right Right Return         # WIND at (10, 4)
keys f Up Up End Left space                                       # FIRE at (14, 2)
keys a Home Down Down Down Down Down Right Right space             # EARTH at (2, 7)
placed_at=$(since_start)
sleep 0.5
screenshot keys_placed
sleep 7
key Delete                                                        # the EARTH token again
cleared_at=$(since_start)
sleep 9
key Escape
expect_exit 0
cp "$capture_file" "$artifacts_dir/capture.wav"
# Capture times lag script times by the sound device's opening: the clear may be heard up to a second before
# the capture's $cleared_at.
expect_on_time "$placed" "$(echo "$placed_at + 1" | bc -l)" 8 "$(echo "$cleared_at - 1" | bc -l)"
# The capture ends up to a second before the script's Escape, so the window has at least 6.5 s: two sweeps.
expect_on_time "$cleared" "$(echo "$cleared_at + 1.5" | bc -l)" 6
echo "keyboard: passed"
