# Idle at the start menu the program draws nothing: once the title is written and the prompt has faded in,
# not one frame is presented for seconds (counted by the X server's damage reports). A window shown again is
# drawn again at once, whole, and is what the frames drawn in parts before had left; a key press is still
# answered at once, drawn and heard.
source "$(dirname "$0")/harness.sh"

since() { echo "$(date +%s.%N) - $1" | bc -l; }
# The differing pixels of two screenshots.
pixels_differing() {
  compare -metric AE "$artifacts_dir/$1.png" "$artifacts_dir/$2.png" null: 2>&1 || true
}

# The capture starts as the sound driver is installed, a moment after the start: capture times are at most
# that moment earlier than times since the start.
started=$(date +%s.%N)
start_tolme
wait_for_window "Tolme - A Musical Instrument"
# The wipes end at 2.6 s, the prompt's fade at 4.7 s and the letters' swell at 6 s.
sleep 7
screenshot idle
frames=$("$count_damage" "$tolme_window" 3)
echo "frames presented in 3 s at the idle menu: $frames"
[ "$frames" -eq 0 ] || fail "$frames frames presented in 3 s at the idle menu"

# expect_same_when_shown_again NAME: unmapped and mapped again, as a window covered and uncovered, the window
# is drawn again whole, and is exactly the screenshot NAME.
expect_same_when_shown_again() {
  xdotool windowunmap --sync "$tolme_window"
  xdotool windowmap --sync "$tolme_window"
  sleep 0.3
  screenshot "$1_shown_again"
  differing=$(pixels_differing "$1" "$1_shown_again")
  [ "$differing" = 0 ] || fail "the window shown again differs from $1 in $differing pixels"
}
expect_same_when_shown_again idle

"$count_damage" "$tolme_window" 1 >"$work_dir/frames_after_key" &
counter=$!
sleep 0.3
key_at=$(since "$started")
key a
wait "$counter"
echo "frames presented around the key press: $(cat "$work_dir/frames_after_key")"
[ "$(cat "$work_dir/frames_after_key")" -gt 0 ] || fail "the key press drew nothing"
# The grid and the element's colours come in; then nothing moves until a token is placed.
sleep 4.5
screenshot grid
[ "$("$count_damage" "$tolme_window" 1)" -eq 0 ] || fail "frames presented at the idle grid"
expect_same_when_shown_again grid
key Escape
expect_exit 0
cp "$capture_file" "$artifacts_dir/capture.wav"
empty="................/................/................/................/................/................/................/................"
# The chime (the only sound an empty grid makes) starts within a few ticks of the key.
(cd "$repo_root" && "$timing_probe" "$capture_file" "$empty" 0 "$(echo "$key_at - 0.5" | bc -l)") >/dev/null ||
  fail "sound before the key press at $key_at s"
(cd "$repo_root" && ! "$timing_probe" "$capture_file" "$empty" 0 "$(echo "$key_at + 0.3" | bc -l)") >/dev/null ||
  fail "no chime within 0.3 s of the key press at $key_at s"
echo "idle: passed"
