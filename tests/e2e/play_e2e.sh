# Playing the instrument as a person would: the start menu is silent; elements are chosen by key and by click;
# the tokens placed are heard every sweep exactly as the program's own rendering of that pattern sounds (each
# note on its frame, with its element's sound, its row's pitch, its gain and pan); a token cleared with the
# right button is silent from then on.
source "$(dirname "$0")/harness.sh"

since_start() { echo "$(date +%s.%N) - $started" | bc -l; }
# Capture times run a little behind script times (the capture starts when the program opens its sound
# device), so each figure below is taken with the margin on the safe side.
placed="......3........./................/..............4./................/..........2...../................/................/..1............."
cleared="......3........./................/..............4./................/..........2...../................/................/................"

started=$(date +%s.%N)
start_tolme
wait_for_window "Tolme - A Musical Instrument"
sleep 2
screenshot title
sleep 3.5
screenshot menu
first_key=$(since_start)

key a                                            # EARTH by key
click "$(token_x 2)" "$(token_y 7)"
click 587 520                                    # WATER by its button
click "$(token_x 6)" "$(token_y 0)"
key s                                            # WIND
click "$(token_x 10)" "$(token_y 4)"
key f                                            # FIRE
click "$(token_x 14)" "$(token_y 2)"
xdotool mousemove --window "$tolme_window" 1000 20
placed_at=$(since_start)
sleep 1
screenshot tokens_placed
sleep 0.3
screenshot bursts
sleep 6
click "$(token_x 2)" "$(token_y 7)" 3            # clear the EARTH token
cleared_at=$(since_start)
sleep 7
screenshot earth_cleared
key Escape
expect_exit 0
cp "$capture_file" "$artifacts_dir/capture.wav"

# Capture times lag script times by the sound device's opening: the clear may be heard up to a second before
# the capture's $cleared_at.
expect_on_time "$placed" "$(echo "$placed_at + 1" | bc -l)" 8 "$(echo "$cleared_at - 1" | bc -l)"
read -r _ _ _ _ _ _ _ _ sound_start <"$artifacts_dir/timing.txt"
awk -v s="$sound_start" -v k="$first_key" 'BEGIN { exit !(s >= k - 0.5) }' ||
  fail "sound at $sound_start s, during the start menu (the first key came at $first_key s)"
# The cleared token's last note has faded a second and a half after the click.
expect_on_time "$cleared" "$(echo "$cleared_at + 1.5" | bc -l)" 6
echo "play: passed"
