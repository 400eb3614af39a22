#!/usr/bin/env bash
# CPU share of the running program while it idles at the start menu (after the title has been written),
# under Xvfb with its sound going to OpenAL Soft's wave writer.
#   tools/bench/idle_cpu.sh [seconds]      (after tools/build.sh)
seconds=${1:-20}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../tests/e2e/harness.sh" "$here/../../build/tolme"

start_tolme
wait_for_window "Tolme - A Musical Instrument"
sleep 8
share=$(cpu_share "$seconds")
key Escape
expect_exit 0
echo "idle CPU share: $share % of one core"
