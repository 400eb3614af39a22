#!/usr/bin/env bash
# CPU share of the running program while it plays two tokens (a WATER and a FIRE) through a private
# PulseAudio server, as on a desktop, under Xvfb.
#   tools/bench/playing_cpu.sh [seconds]      (after tools/build.sh)
seconds=${1:-20}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../tests/e2e/harness.sh" "$here/../../build/tolme"

start_pulse
play_pattern "................/................/................/....3.........../................/................/...........4..../................"
sleep 3
share=$(cpu_share "$seconds")
key Escape
expect_exit 0
echo "playing CPU share (a WATER and a FIRE token, through PulseAudio): $share % of one core"
