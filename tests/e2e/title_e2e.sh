# The title written in brush strokes at start-up, screenshot as its wipes begin, halfway through them and after
# the swell: the letters come in from left to right, and at the end every letter has ink and hardly any of the
# ink is near white.
source "$(dirname "$0")/harness.sh"

# Regions on screen (WxH+X+Y). The letters T O L M E swell about the point (512, 200) from 0.95 to 1.04 times
# their size: their cells at the end, the title around them, and while the swell begins (0.95 to 0.97) the
# part right of the T and the part right of the M.
cells=(133x167+153+117 167x167+287+117 84x167+454+117 125x167+537+117 125x167+662+117)
title_area=634x167+153+117
right_of_t=500x167+310+117
right_of_m=150x167+655+117

# Pixels of a screenshot's region (WxH+X+Y) with a luminance above 40 of 255, and with every channel above 235.
inked_pixels() {
  convert "$artifacts_dir/$1.png" -crop "$2" +repage -grayscale Rec601Luma -threshold 15.7% \
    -format '%[fx:int(mean*w*h+0.5)]\n' info:
}
near_white_pixels() {
  convert "$artifacts_dir/$1.png" -crop "$2" +repage -separate -evaluate-sequence Min -threshold 92.2% \
    -format '%[fx:int(mean*w*h+0.5)]\n' info:
}

# The title is revealed as the window gets its name; the wipes run from 0.2 s to 2.62 s, the swell for 6 s.
shot_at() {
  sleep "$(echo "s = $2 - ($(date +%s.%N) - $named); if (s > 0) s else 0" | bc -l)"
  screenshot "$1"
}

start_tolme
wait_for_window "Tolme - A Musical Instrument"
named=$(date +%s.%N)
shot_at reveal_start 0.4
shot_at reveal_half 1.4
shot_at reveal_end 6.5
key Escape
expect_exit 0

[ "$(inked_pixels reveal_start "${cells[0]}")" -gt 50 ] && [ "$(inked_pixels reveal_start "$right_of_t")" -eq 0 ] ||
  fail "as the wipes begin only the T should have ink"
[ "$(inked_pixels reveal_half "${cells[0]}")" -gt 1000 ] && [ "$(inked_pixels reveal_half "${cells[1]}")" -gt 1000 ] &&
  [ "$(inked_pixels reveal_half "$right_of_m")" -eq 0 ] || fail "halfway T and O should be written and E not begun"
for cell in "${cells[@]}"; do
  [ "$(inked_pixels reveal_end "$cell")" -gt 800 ] || fail "too little ink at the end in the letter cell $cell"
done
ink=$(inked_pixels reveal_end "$title_area")
white=$(near_white_pixels reveal_end "$title_area")
echo "near-white pixels at the end: $white of $ink inked"
[ "$((white * 500))" -le "$ink" ] || fail "more than 0.2 % of the title's ink is near white"
echo "title: passed"
