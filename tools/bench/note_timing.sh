#!/usr/bin/env bash
# Note timing: plays eight notes in every other column for a while (10 minutes by default) under Xvfb with its
# sound captured, through OpenAL Soft's wave writer or through a private PulseAudio server, then times every
# note to the frame against the program's own offline rendering of the pattern.
#   tools/bench/note_timing.sh [seconds] [openal|pulse]      (after tools/build.sh, from anywhere)
seconds=${1:-600}
path=${2:-openal}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../tests/e2e/harness.sh" "$here/../../build/tolme"

[ "$path" = pulse ] && start_pulse
play_pattern "$climbing_pattern"
sleep "$seconds"
key Escape
expect_exit 0
stop_pulse
cp "$work_dir/stderr.log" "$artifacts_dir/stderr.log"

(cd "$repo_root" && "$timing_probe" "$capture_file" "$climbing_pattern" "$placed") | tee "$artifacts_dir/timing.txt" | grep -v "^onset" |
  awk -v path="$path" '$1 == "timing" {
    printf "%s: %d notes timed, %d lost\n", path, $2, $3
    printf "deviation from the schedule after one constant offset: mean %.4f ms, standard deviation %.4f ms, worst %.4f ms\n", $4, $5, $6
    printf "sweep period: measured %.5f ms, ideal 2730.66711 ms\n", $7
  }'
