#!/usr/bin/env bash
# Note timing: plays a known pattern for a while (10 minutes by default) under Xvfb with the sound captured,
# then compares every captured onset with the ideal schedule of the play line.
#   tools/bench/note_timing.sh [seconds]      (after tools/build.sh, from anywhere)
# Pattern: one token in each of columns 0, 4, 8 and 12 (EARTH, WATER, FIRE, WIND), so notes fall on a lattice
# of a quarter sweep, (4 * 51.2 / 300) s.
seconds=${1:-600}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../tests/e2e/harness.sh" "$here/../../build/tolme"

started=$(date +%s.%N)
start_tolme
wait_for_window "Tolme - A Musical Instrument"
sleep 1
for placement in "a 0 7" "d 4 3" "f 8 0" "s 12 5"; do
  set -- $placement
  key "$1"
  click "$(token_x "$2")" "$(token_y "$3")"
done
xdotool mousemove --window "$tolme_window" 1000 20
# The capture starts a little after the program: onsets later than this script time are surely past the
# selection chimes.
placed_at=$(echo "$(date +%s.%N) - $started + 1" | bc -l)
sleep "$seconds"
key Escape
expect_exit 0

period=0.6826667785644531  # a quarter of 819.2001342773438 / 300 s
"$wav_probe" "$capture_file" "$period" "$placed_at" 4 | tee "$artifacts_dir/onsets.txt" | awk -v period="$period" '
  $1 == "lattice" {
    printf "onsets over %d quarter-sweep slots: lost %d, doubled %d\n", $2, $3, $4
    printf "onset error against the ideal schedule: mean %.2f ms, 99th percentile %.2f ms, worst %.2f ms\n", $5, $6, $7
    printf "sweep period: measured %.4f ms, ideal %.4f ms\n", $8 * 4000, period * 4000
  }'
