#!/usr/bin/env bash
# CPU share of the running program while it idles at the start menu (after the title has been written),
# under Xvfb with its sound going to OpenAL Soft's wave writer.
#   tools/bench/idle_cpu.sh [seconds]      (after tools/build.sh)
seconds=${1:-20}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../tests/e2e/harness.sh" "$here/../../build/tolme"

cpu_ticks() { awk '{print $14 + $15}' "/proc/$tolme_pid/stat"; }

start_tolme
wait_for_window "Tolme - A Musical Instrument"
sleep 8
before=$(cpu_ticks)
sleep "$seconds"
after=$(cpu_ticks)
key Escape
expect_exit 0
echo "idle CPU share: $(echo "100 * ($after - $before) / $(getconf CLK_TCK) / $seconds" | bc -l | cut -c1-5) % of one core"
