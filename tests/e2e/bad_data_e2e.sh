# Damaged data folders. Each of the three fallback files, missing, empty, truncated or garbage, stops the
# program at start-up with the warning box naming it. Every other file damaged at once still gives a window
# that plays: the bins record the misses and the program carries on with placeholders, fallback font and
# silence.
source "$(dirname "$0")/harness.sh"

variants=(missing empty truncated garbage)

# damage FILE VARIANT. Garbage keeps the first 12 bytes (the signature) so loaders look past it.
damage() {
  local file=$1 size
  size=$(stat -c %s "$file")
  case $2 in
    missing) rm "$file" ;;
    empty) : >"$file" ;;
    truncated) truncate -s $((size / 2)) "$file" ;;
    garbage)
      { head -c 12 "$file"; head -c $((size - 12)) /dev/urandom; } >"$file.damaged"
      mv "$file.damaged" "$file"
      ;;
  esac
}

# The damaged folder is kept with the artifacts, so a failure with random bytes can be replayed.
keep_failing_data() {
  rm -rf "$artifacts_dir/data"
  cp -r "$broken_data" "$artifacts_dir/data"
}

header='The following errors occured during startup:\n\n'
footer='\nThe program must now be shut down.'
# The box closes its list with where the data was looked for.
looked="data in the working folder $work_dir/run (TOLME_DATA is not set and there is no $(dirname "$tolme_binary")/../share/tolme)"
broken_data="$work_dir/broken-data"
cp -r "$repo_root/data" "$broken_data"
rm -rf "$artifacts_dir/data"
trap 'status=$?; [ $status -ne 0 ] && keep_failing_data; cleanup; exit $status' EXIT

expect_startup_box() {
  local expected=$1
  wait_for_window "Errors During Program Start"
  # The box's text as written to standard error, from its header to its footer; a toolkit may add warnings.
  local got
  got=$(sed -n '/^The following errors occured during startup:$/,/^The program must now be shut down.$/p' \
    "$work_dir/stderr.log")
  [ "$got" = "$(printf '%b' "${header}${expected}\nTolme looked for its data in ${looked}.\n${footer}")" ] || fail "standard error was:
$(cat "$work_dir/stderr.log")"
  xdotool windowfocus --sync "$tolme_window" key Return
  expect_exit 1
}

declare -A fallback_message=(
  [missing_image.png]='could not load image "data/missing_image.png"'
  [missing_sample.wav]='could not load sample "data/missing_sample.wav"'
  [lacuna.ttf]='could not load font "data/lacuna.ttf"'
)
for file in missing_image.png missing_sample.wav lacuna.ttf; do
  for variant in "${variants[@]}"; do
    cp "$repo_root/data/$file" "$broken_data/$file"
    damage "$broken_data/$file" "$variant"
    start_tolme "$broken_data"
    expect_startup_box "${fallback_message[$file]}"
  done
  cp "$repo_root/data/$file" "$broken_data/$file"
done

# Every other file the program names, each damaged in the next of the four ways.
i=0
while read -r file; do
  damage "$broken_data/$file" "${variants[$((i % 4))]}"
  i=$((i + 1))
done < <(cd "$broken_data" && find images sounds fonts -name '*.png' -o -name '*.wav' -o -name '*.otf' | sort)
[ "$i" -gt 60 ] || fail "only $i data files found to damage"

start_tolme "$broken_data"
wait_for_window "Tolme - A Musical Instrument"
sleep 0.5
key F1
sleep 0.2
# The overlay's lines (from (30, 30)) in the fallback font: every other font and image is gone.
screenshot damaged_data_overlay
bright=$(convert "$artifacts_dir/damaged_data_overlay.png" -crop 420x110+25+25 +repage -colorspace gray \
  -threshold 40% -format '%[fx:int(mean*w*h)]' info:)
[ "$bright" -gt 200 ] || fail "the debug overlay shows no text ($bright bright pixels)"
key a
# Token centres: x = 125.6 + 51.2 * column, y = 80 + 51.2 * row.
for column in 0 3 6 9 12 15; do
  click $((126 + 51 * column)) $((80 + 51 * (column % 8)))
done
key f
click 331 182
click 126 80 3
click 737 520
sleep 3
kill -0 "$tolme_pid" 2>/dev/null || fail "the program ended while playing on damaged data"
screenshot damaged_data_playing
key Escape
expect_exit 0
# libpng itself warns of a damaged chunk whose random name happens to read as an optional one.
unexpected=$(grep -v '^libpng warning: ' "$work_dir/stderr.log" || true)
[ -z "$unexpected" ] || fail "unexpected output on standard error: $unexpected"
# An export from it fails and says why, rather than pass off silence as the pattern's sound.
write_pattern "$work_dir/one.tolme" "1...............$(printf '/................%.0s' 1 2 3 4 5 6 7)"
(cd "$work_dir/run" && "$tolme_binary" --export-wav "$work_dir/one.wav" "$work_dir/one.tolme") 2>"$work_dir/export.log" &&
  fail "an export without its notes succeeded"
grep -q "the notes could not be loaded" "$work_dir/export.log" || fail "the export said: $(cat "$work_dir/export.log")"
[ ! -e "$work_dir/one.wav" ] || fail "the failed export left a file"
echo "bad data: passed"
