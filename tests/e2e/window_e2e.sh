# The window a player sees: its title and size, F1 toggling the overlay once per press, Escape and the close
# button ending the program with status 0; a part of the stage shown alone lands where it was drawn; while a
# file dialog is up the window draws on and its clicks are dropped.
source "$(dirname "$0")/harness.sh"

# Bright pixels in a region (WxH+X+Y) of a screenshot of the window.
bright_pixels() {
  screenshot "$1"
  convert "$artifacts_dir/$1.png" -crop "$2" +repage -colorspace gray -threshold 40% \
    -format '%[fx:int(mean*w*h)]' info:
}
# Waits for the file dialog titled $1 to show and sets $dialog to it.
wait_for_dialog() {
  dialog=""
  for _ in $(seq 100); do
    dialog=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true)
    [ -n "$dialog" ] && return
    sleep 0.1
  done
  fail "no dialog '$1' opened"
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
# Alt+F4 acts on the window the manager made active: one it has not taken in yet would miss it.
for _ in $(seq 100); do
  [ "$(xdotool getactivewindow 2>/dev/null)" = "$tolme_window" ] && break
  sleep 0.05
done
chord alt+F4
expect_exit 0

# While the Open dialog is up the window goes on drawing, and clicks on the grid are not acted on: the pattern
# keeps only the token placed before it.
start_tolme
wait_for_window "Tolme - A Musical Instrument"
sleep 1
key a
click "$(token_x 15)" "$(token_y 7)"
chord ctrl+o
wait_for_dialog "Open a pattern"
xdotool windowmove --sync "$dialog" 700 500
# Meanwhile the window plays on: the token pulses as the line passes it, a sweep every 2.7 s.
frames=$("$tools_dir/count_damage" "$tolme_window" 3)
[ "$frames" -ge 5 ] || fail "the window stood still while the dialog was up ($frames frames in 3 s)"
click "$(token_x 0)" "$(token_y 0)"
click "$(token_x 1)" "$(token_y 0)"
# Escape until the dialog is gone (a dialog still being mapped may miss the first), held past the keyboard's
# repeat delay: its repeats reach the window once the dialog is gone, and are not a new Escape.
for _ in $(seq 50); do
  xdotool windowfocus --sync "$dialog" keydown Escape 2>/dev/null || true
  sleep 1.2
  xdotool search --onlyvisible --name "^Open a pattern$" >/dev/null 2>&1 || break
  xdotool keyup Escape
done
kill -0 "$tolme_pid" 2>/dev/null || fail "an Escape held to close the dialog ended the program"
# Ended while that Escape is still held, the program ends as ever.
kill -TERM "$tolme_pid"
expect_exit 0
xdotool keyup Escape
[ "$(grep -v '^#' "$XDG_STATE_HOME/tolme/autosave.tolme" | tr -d '\n')" = "tolme-pattern 1$(printf '%.0s................' 1 2 3 4 5 6 7)...............1" ] ||
  fail "clicks made while the dialog was up were acted on: $(cat "$XDG_STATE_HOME/tolme/autosave.tolme")"
# Ctrl+S with no file asks where to save: a new name typed without an extension gets ".tolme", but a pattern
# of that name is not written over unasked.
save_as() {
  chord ctrl+s
  wait_for_dialog "Save the pattern"
  sleep 1 # its name field takes keys only once the dialog has settled
  xdotool windowfocus --sync "$dialog" type "$1"
  # Return, again while the dialog stays: the name field's completion may take the first.
  for _ in $(seq 5); do
    xdotool windowfocus --sync "$dialog" key Return 2>/dev/null || true
    for _ in $(seq 10); do
      xdotool search --onlyvisible --name "^Save the pattern$" >/dev/null 2>&1 || break 2
      sleep 0.1
    done
  done
  sleep 0.3
}
start_tolme
wait_for_window "Tolme - A Musical Instrument"
sleep 1
key a
click "$(token_x 3)" "$(token_y 2)"
echo "tolme-pattern 1" >"$work_dir/mine.tolme"
save_as "$work_dir/mine"
[ "$(cat "$work_dir/mine.tolme")" = "tolme-pattern 1" ] || fail "a name without its extension wrote over mine.tolme"
grep -q "did not save $work_dir/mine.tolme: it is there already" "$work_dir/stderr.log" || fail "the refusal was not told"
save_as "$work_dir/new"
[ "$(grep -c "^...1" "$work_dir/new.tolme" 2>/dev/null)" = 1 ] || fail "the pattern was not saved where the dialog said"
# A signal to end while a dialog is up ends the program at once, its autosave written.
chord ctrl+n
chord ctrl+o
wait_for_dialog "Open a pattern"
kill -TERM "$tolme_pid"
expect_exit 0
[ "$(grep -cxE '[.]{16}' "$XDG_STATE_HOME/tolme/autosave.tolme")" = 8 ] || fail "the autosave missed the cleared grid"
# Where the desktop's toolkit cannot start (here GTK sent to a Wayland display there is not), Ctrl+O says so
# and the program plays on.
GDK_BACKEND=wayland start_tolme
wait_for_window "Tolme - A Musical Instrument"
sleep 1
chord ctrl+o
sleep 0.5
screenshot no_dialog
grep -q "could not show the file dialog: GTK did not start" "$work_dir/stderr.log" || fail "a dialog not shown was not told"
key Escape
expect_exit 0
echo "window: passed"
