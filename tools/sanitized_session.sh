#!/usr/bin/env bash
# Plays the real program, built with AddressSanitizer and UndefinedBehaviorSanitizer, under Xvfb for the given
# number of seconds (default 300): every element chosen in turn, tokens placed and cleared across the whole
# grid, the debug overlay on and off, then Escape. Passes when the program ends with status 0 and the
# sanitizers reported nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-300}

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLME_SANITIZE=ON >/dev/null
cmake --build build-asan -j "$(nproc)" --target tolme timing_probe

# Full allocation stacks would make start-up take a minute (Mesa allocates a great deal); with short ones the
# libraries' leaks are matched by module, so Mesa's software driver is preloaded to stay mapped and named.
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
source tests/e2e/harness.sh build-asan/tolme
asan_runtime=$(ldd "$tolme_binary" | awk '/libasan/ {print $3}')
dri_driver=$(find /usr/lib -name swrast_dri.so -print -quit)
printf '#!/bin/sh\nLD_PRELOAD="%s %s" exec "%s"\n' "$asan_runtime" "$dri_driver" "$tolme_binary" >"$work_dir/tolme"
chmod +x "$work_dir/tolme"
tolme_binary="$work_dir/tolme"

start_tolme
wait_for_window "Tolme - A Musical Instrument"
end=$((SECONDS + seconds))
round=0
while [ $SECONDS -lt $end ]; do
  key "$(echo a s d f | cut -d ' ' -f $((round % 4 + 1)))"
  for column in $(seq $((round % 2)) 2 15); do
    row=$(((column * 3 + round) % 8))
    click "$(token_x "$column")" "$(token_y "$row")"
  done
  [ $((round % 3)) -eq 0 ] && key F1
  sleep 1
  for column in $(seq $((round % 3)) 3 15); do
    row=$(((column * 3 + round) % 8))
    click "$(token_x "$column")" "$(token_y "$row")" 3
  done
  # A click on an element button now and then, as a player switching by mouse would.
  click $((287 + 150 * (round % 4))) 520
  kill -0 "$tolme_pid" 2>/dev/null || fail "the program ended during round $round: $(cat "$work_dir/stderr.log")"
  round=$((round + 1))
done
screenshot end_of_session
# Held until the program ends: slowed by the sanitizers it may poll no tick during a short press.
xdotool keydown --window "$tolme_window" Escape
expect_exit 0
xdotool keyup Escape
[ ! -s "$work_dir/stderr.log" ] || fail "sanitizer or other report on standard error:
$(cat "$work_dir/stderr.log")"
echo "sanitized session: $round rounds in $seconds s, exit status 0, no sanitizer report"
