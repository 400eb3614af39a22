# The player's pattern as a file, as a person uses it: a hand-written file is heard from the first sweep;
# tokens placed and saved with Ctrl+S land in the file; Ctrl+N silences the grid and Ctrl+Z brings it back;
# after a kill -9 "--resume" plays what was there, and after a SIGTERM the last change is kept; Ctrl+C ends a
# long export and leaves no part of it; a bad file is named on standard error and in the window and left
# alone; a save into a folder that does not exist is reported while the music goes on.
source "$(dirname "$0")/harness.sh"

since() { echo "$(date +%s.%N) - $1" | bc -l; }
row() { printf '%s' "$1" | tr -d '\n'; }
pattern_rows() { tr -d '\r' <"$1" | sed 's/ *$//' | grep -v -e '^#' -e '^tolme-pattern' -e '^$' | paste -sd/; }

# A file written by hand: comments, a blank line, CRLF ends and trailing spaces.
song="$work_dir/song.tolme"
printf '# my song\r\n\r\ntolme-pattern 1  \r\n' >"$song"
for r in "....4..........." "................" "..3............." "................" \
         "2..............." "................" "................" "........1......."; do
  printf '%s \r\n' "$r" >>"$song"
done
hand_written=$(pattern_rows "$song")

started=$(date +%s.%N)
start_tolme "" "$song"
wait_for_window "Tolme - A Musical Instrument"
sleep 6
screenshot menu_with_pattern
key a                                                       # the grid shows, with the file's tokens
click "$(token_x 12)" "$(token_y 1)"
chord ctrl+s
sleep 0.5
expected_after_save="....4.........../............1.../..3............./................/2.............../................/................/........1......."
[ "$(pattern_rows "$song")" = "$expected_after_save" ] || fail "Ctrl+S wrote $(pattern_rows "$song")"
chord ctrl+n
cleared=$(since "$started")
sleep 5
chord ctrl+z
restored=$(since "$started")
sleep 4
key Escape
expect_exit 0
# Heard from the first sweep, before any element was chosen (the first key came 6 s in).
expect_on_time "$hand_written" 1 4 5.5
# Script times run ahead of capture times by the program's start-up: the silence ends a second before the undo.
expect_silence "$(echo "$cleared + 2" | bc -l)" "$(echo "$restored - 1" | bc -l)"
expect_on_time "$expected_after_save" "$(echo "$restored + 0.5" | bc -l)" 4

# A crash loses at most the last second: placed, then killed, then resumed.
rm -f "$capture_file"
start_tolme
wait_for_window "Tolme - A Musical Instrument"
sleep 1
key f
click "$(token_x 3)" "$(token_y 3)"
click "$(token_x 7)" "$(token_y 5)"
sleep 1.5
kill -9 "$tolme_pid"
wait "$tolme_pid" 2>/dev/null || true
tolme_pid=""
rm -f "$capture_file"
start_tolme "" --resume
wait_for_window "Tolme - A Musical Instrument"
sleep 4
key Escape
expect_exit 0
cp "$capture_file" "$artifacts_dir/resumed.wav"
expect_on_time "................/................/................/...4............/................/.......4......../................/................" 1 2

# A logout's SIGTERM ends the program as Escape does: a change made just before it is in the autosave.
start_tolme
wait_for_window "Tolme - A Musical Instrument"
sleep 1
key a
click "$(token_x 0)" "$(token_y 0)"
sleep 0.2
kill -TERM "$tolme_pid"
expect_exit 0
[ "$(pattern_rows "$XDG_STATE_HOME/tolme/autosave.tolme" | cut -c1-16)" = "1..............." ] ||
  fail "the change before SIGTERM was not autosaved: $(cat "$XDG_STATE_HOME/tolme/autosave.tolme")"

# Ctrl+C pressed twice a second into a long export (a thousand slow sweeps, about 20 s of work) ends it at
# once: the file it was to replace stays as it was, with nothing left beside it.
echo "an older export" >"$work_dir/long.wav"
(cd "$repo_root" && exec "$tolme_binary" --export-wav "$work_dir/long.wav" --loops 1000 --tempo 40 "$song") \
  2>"$work_dir/export.log" &
export_pid=$!
sleep 1
kill -INT "$export_pid"
kill -INT "$export_pid"
wait "$export_pid" && fail "the stopped export succeeded"
grep -q "could not write $work_dir/long.wav: stopped before it was done" "$work_dir/export.log" ||
  fail "the stopped export said: $(cat "$work_dir/export.log")"
[ "$(cat "$work_dir/long.wav")" = "an older export" ] || fail "the stopped export replaced the old file"
[ -z "$(find "$work_dir" -maxdepth 1 -name '.long.wav*')" ] || fail "the stopped export left its part behind"

# Bad files: named with the reason on standard error and in the window, the grid empty, the file untouched.
bad="$work_dir/bad"
mkdir -p "$bad/folder.tolme"
printf 'tolme-pattern 1\n................\n' >"$bad/short.tolme"
printf 'tolme-pattern 2\n' >"$bad/version.tolme"
printf 'tolme-pattern 1\n\0\0\0\n' >"$bad/nul.tolme"
: >"$bad/empty.tolme"
head -c 1100000 /dev/zero | tr '\0' '#' >"$bad/big.tolme"
for file in short version nul empty big folder; do
  path="$bad/$file.tolme"
  before=$(md5sum "$path" 2>/dev/null || echo folder)
  start_tolme "" "$path"
  wait_for_window "Tolme - A Musical Instrument"
  sleep 1
  [ "$file" = short ] && screenshot bad_file_notice
  key Escape
  expect_exit 0
  grep -q "could not open $path" "$work_dir/stderr.log" || fail "$file: not reported: $(cat "$work_dir/stderr.log")"
  [ "$(md5sum "$path" 2>/dev/null || echo folder)" = "$before" ] || fail "$file was written"
done
[ "$(convert "$artifacts_dir/bad_file_notice.png" -crop 600x24+212+14 +repage -colorspace gray -threshold 30% \
    -format '%[fx:int(mean*w*h)]' info:)" -gt 50 ] || fail "no notice at the top of the window"

# A save that cannot be made is reported and play goes on.
rm -f "$capture_file"
start_tolme "" "$work_dir/no/such/folder/song.tolme"
wait_for_window "Tolme - A Musical Instrument"
sleep 1
key d
click "$(token_x 5)" "$(token_y 4)"
chord ctrl+s
sleep 0.5
screenshot save_failed
sleep 6
key Escape
expect_exit 0
grep -q "could not save $work_dir/no/such/folder/song.tolme: No such file or directory" "$work_dir/stderr.log" ||
  fail "the failed save was not reported: $(cat "$work_dir/stderr.log")"
expect_on_time "................/................/................/................/.....3........../................/................/................" 2.5 2
echo "pattern: passed"
