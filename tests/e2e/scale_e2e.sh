# The stage in a window of any size, as a player on a high-density screen sees it: with the desktop's Xft.dpi
# at 144 the window opens at 1.5 times the stage's size and the prompt reads sharply (by OCR); resized by the
# window manager to 1600 x 600 the stage stays whole, centred between black bars; clicks on scaled and
# shifted tokens place them, heard at their rows; F11 fills the screen and F11 again brings the window's size
# back; resized to 1536 x 900 again its text is rendered anew and reads; the notes keep their time throughout.
screen_size=1920x1080
source "$(dirname "$0")/harness.sh"

since_start() { echo "$(date +%s.%N) - $started" | bc -l; }
geometry() { xdotool getwindowgeometry "$tolme_window" | awk '/Geometry/ {print $2}'; }
wait_for_geometry() {
  for _ in $(seq 100); do
    [ "$(geometry)" = "$1" ] && { sleep 0.5; return 0; }
    sleep 0.05
  done
  fail "the window is $(geometry), expected $1"
}
# click_scaled COLUMN ROW SCALE LEFT: a left click on the token of the grid's cell in a window where the
# stage is drawn at SCALE from LEFT.
click_scaled() {
  click "$(echo "$(token_x "$1") * $3 + $4" | bc | cut -d. -f1)" "$(echo "$(token_y "$2") * $3" | bc | cut -d. -f1)"
}
# read_text SCREENSHOT REGION: the text tesseract reads in a screenshot's region (WxH+X+Y), light on dark.
read_text() {
  convert "$artifacts_dir/$1.png" -crop "$2" +repage "$work_dir/line.png"
  tesseract "$work_dir/line.png" - --psm 7 2>/dev/null | tee "$artifacts_dir/$1_ocr.txt"
}
# Pixels of a screenshot's region (WxH+X+Y) that are not black.
lit_pixels() {
  convert "$artifacts_dir/$1.png" -crop "$2" +repage -colorspace gray -threshold 0 -format '%[fx:int(mean*w*h)]' info:
}
placed="................/................/....1.........../................/................/..........2...../................/................"

start_window_manager
echo "Xft.dpi: 144" | xrdb -merge
started=$(date +%s.%N)
start_tolme
wait_for_window "Tolme - A Musical Instrument"
[ "$(geometry)" = "1536x900" ] || fail "the window opened at $(geometry), expected 1536x900 for Xft.dpi 144"
sleep 5.5
screenshot scaled_1536x900
# The prompt's line, at 1.5 times its place on the stage.
prompt=$(read_text scaled_1536x900 1536x45+0+532)
[ "$prompt" = "- SELECT AN ELEMENT TO GET STARTED -" ] || fail "OCR read '$prompt' at 1.5 x"
key a
click_scaled 4 2 1.5 0                                     # EARTH at (4, 2)

xdotool windowsize "$tolme_window" 1600 600
wait_for_geometry 1600x600
key s
click_scaled 10 5 1 288                                    # WIND at (10, 5), the stage 288 px in
placed_at=$(since_start)
xdotool mousemove --window "$tolme_window" 100 300         # over the left bar, outside the stage
sleep 0.5
screenshot wide_1600x600
[ "$(lit_pixels wide_1600x600 288x600+0+0)" -eq 0 ] && [ "$(lit_pixels wide_1600x600 288x600+1312+0)" -eq 0 ] ||
  fail "the bars beside the stage are not black"
[ "$(lit_pixels wide_1600x600 1024x600+288+0)" -gt 10000 ] || fail "no stage between the bars"

key F11
wait_for_geometry 1920x1080
xwininfo -id "$tolme_window" | grep -q 'Absolute upper-left X:  0' || fail "full screen does not start at the left"
screenshot full_screen
key F11
wait_for_geometry 1600x600
xdotool windowsize "$tolme_window" 1536 900
wait_for_geometry 1536x900
screenshot resized_1536x900
# The tempo and swing in the bottom right corner, at 1.5 times their place.
readout=$(read_text resized_1536x900 420x48+1080+822)
[[ "$readout" == *"87.89 BPM"*"SWING 50 %"* ]] || fail "OCR read the readout as '$readout' after the resize"
sleep 3
key Escape
expect_exit 0
cp "$capture_file" "$artifacts_dir/capture.wav"
expect_on_time "$placed" "$(echo "$placed_at + 1" | bc -l)" 4
echo "scale: passed"
