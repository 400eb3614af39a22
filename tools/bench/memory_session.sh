#!/usr/bin/env bash
# Memory over a long session (60 minutes by default) of scripted playing: every few seconds an element is
# chosen and tokens across the grid are placed and cleared, F1 toggled now and then. Prints the resident
# memory once a minute.
#   tools/bench/memory_session.sh [minutes]      (after tools/build.sh)
minutes=${1:-60}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../tests/e2e/harness.sh" "$here/../../build/tolme"

resident_kib() { awk '/VmRSS/ {print $2}' "/proc/$tolme_pid/status"; }

start_tolme
wait_for_window "Tolme - A Musical Instrument"
sleep 2
echo "minute 0: $(resident_kib) KiB resident"
keys=(a s d f)
round=0
for minute in $(seq "$minutes"); do
  end=$((SECONDS + 60))
  while [ "$SECONDS" -lt "$end" ]; do
    key "${keys[$((round % 4))]}"
    for i in 0 1 2 3 4 5 6 7; do
      column=$(((round * 5 + i * 3) % 16)) row=$(((round + i) % 8))
      click "$(token_x "$column")" "$(token_y "$row")" 1
    done
    for i in 0 1 2 3; do
      column=$(((round * 5 + i * 3) % 16)) row=$(((round + i) % 8))
      click "$(token_x "$column")" "$(token_y "$row")" 3
    done
    [ $((round % 10)) -eq 0 ] && key F1
    round=$((round + 1))
  done
  kill -0 "$tolme_pid" 2>/dev/null || fail "the program ended during the session"
  echo "minute $minute: $(resident_kib) KiB resident"
done
key Escape
expect_exit 0
