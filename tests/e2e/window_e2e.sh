# The window a player sees: its title and size, F1 toggling the overlay once per press, Escape and the close
# button ending the program with status 0; a part of the stage shown alone lands where it was drawn.
source "$(dirname "$0")/harness.sh"

# Bright pixels in a region (WxH+X+Y) of a screenshot of the window.
bright_pixels() {
  screenshot "$1"
  convert "$artifacts_dir/$1.png" -crop "$2" +repage -colorspace gray -threshold 40% \
    -format '%[fx:int(mean*w*h)]' info:
}
# The overlay's four text lines start at (30, 30).
overlay_pixels() { bright_pixels "$1" 420x110+25+25; }

"$tools_dir/present_pixels" || fail "a changed part of the stage is not shown as drawn"

# "Loading..." stays up while the set-up waits for a file: a pipe in place of the icon holds it there.
slow_data="$work_dir/slow-data"
cp -rs "$repo_root/data" "$slow_data"
rm "$slow_data/images/tolme_icon.png"
mkfifo "$slow_data/images/tolme_icon.png"
start_tolme "$slow_data"
wait_for_window tolme
sleep 0.5
[ "$(bright_pixels loading 200x40+25+555)" -gt 50 ] || fail "no loading line at the bottom left"
# Allegro opens the file more than once (to identify it, then to load it): feed every opening.
(while :; do cat "$repo_root/data/images/tolme_icon.png" >"$slow_data/images/tolme_icon.png" || true; done) 2>/dev/null &
feeder=$!
wait_for_window "Tolme - A Musical Instrument"
kill "$feeder" 2>/dev/null || true
timeout 2 cat "$slow_data/images/tolme_icon.png" >/dev/null || true # release a writer still waiting
key Escape
expect_exit 0

start_tolme
wait_for_window "Tolme - A Musical Instrument"
geometry=$(xdotool getwindowgeometry "$tolme_window" | awk '/Geometry/ {print $2}')
[ "$geometry" = "1024x600" ] || fail "window is $geometry, expected 1024x600"
sleep 0.5
[ "$(overlay_pixels overlay_off)" -eq 0 ] || fail "overlay corner is not dark before F1"
key F1
sleep 0.2
on=$(overlay_pixels overlay_on)
[ "$on" -gt 200 ] || fail "F1 did not show the overlay ($on bright pixels)"
# Held over many ticks, F1 still toggles only once.
xdotool keydown --window "$tolme_window" F1; sleep 0.5; xdotool keyup --window "$tolme_window" F1
sleep 0.2
[ "$(overlay_pixels overlay_off_again)" -eq 0 ] || fail "second F1 press did not hide the overlay"
key Escape
expect_exit 0
[ -s "$capture_file" ] || fail "no sound device was opened (no capture written)"

# Closed by the window manager (Alt+F4 in openbox, as its close button): a WM_DELETE_WINDOW message.
start_window_manager
start_tolme
wait_for_window "Tolme - A Musical Instrument"
chord alt+F4
expect_exit 0
echo "window: passed"
