#!/usr/bin/env bash
# CPU share of the running program under Xvfb, in percent of one core:
#   idle     at the start menu once the title is written, its sound going to OpenAL Soft's wave writer;
#   playing  while two tokens play (a WATER and a FIRE), through a private PulseAudio server, as on a desktop.
#   tools/bench/cpu_share.sh idle|playing [seconds]      (after tools/build.sh)
what=${1:?idle or playing}
seconds=${2:-20}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../tests/e2e/harness.sh" "$here/../../build/tolme"

if [ "$what" = playing ]; then
  start_pulse
  play_pattern "................/................/................/....3.........../................/................/...........4..../................"
  sleep 3
else
  start_tolme
  wait_for_window "Tolme - A Musical Instrument"
  sleep 8
fi
share=$(cpu_share "$seconds")
key Escape
expect_exit 0
echo "$what CPU share: $share % of one core"
