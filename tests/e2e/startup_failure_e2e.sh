# Start-up failures are gathered into one warning box (and standard error); dismissing it ends the program
# with status 1.
source "$(dirname "$0")/harness.sh"

expect_box_listing() {
  wait_for_window "Errors During Program Start"
  sleep 0.3
  screenshot "$1"
  local expected=$2
  local got
  got=$(cat "$work_dir/stderr.log")
  [ "$got" = "$(printf '%b' "$expected")" ] || fail "box text was:
$got"
  xdotool windowfocus --sync "$tolme_window" key Return
  expect_exit 1
}

header='The following errors occured during startup:\n\n'
footer='\nThe program must now be shut down.'

broken_data="$work_dir/broken-data"
cp -r "$repo_root/data" "$broken_data"
rm "$broken_data/missing_image.png" "$broken_data/lacuna.ttf"
start_tolme "$broken_data"
looked="data in the working folder $work_dir/run (TOLME_DATA is not set and there is no $(dirname "$tolme_binary")/../share/tolme)"
expect_box_listing missing_fallbacks \
  "${header}could not load image \"data/missing_image.png\"\ncould not load font \"data/lacuna.ttf\"\nTolme looked for its data in ${looked}.\n${footer}"

# No sound device at all: the box, never an abort.
unset ALSOFT_CONF
export ALSOFT_DRIVERS=no-such-driver
start_tolme
expect_box_listing no_audio \
  "${header}Could not initialize audio.\nCould not reserve sample memory.\ncould not load sample \"data/missing_sample.wav\"\n${footer}"
echo "startup failure: passed"
