#!/usr/bin/env bash
# Tolme's output latency on JACK: a private server with the dummy driver at 48 kHz and PERIOD frames a cycle
# (default 256), Tolme on it under Xvfb with its outputs on the playback ports; prints the latency JACK gives
# Tolme's ports, as Tolme reads it. Run from the repository root after ./tools/build.sh.
set -euo pipefail
period=${1:-256}
work=$(mktemp -d /tmp/tolme-latency.XXXXXX)
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; wait 2>/dev/null; rm -rf "$work"' EXIT
# One name for every run: JACK keeps at most eight, a killed server's until one of the same name starts.
export JACK_DEFAULT_SERVER="tolme-latency"
jackd -n "$JACK_DEFAULT_SERVER" -d dummy -r 48000 -p "$period" >"$work/jackd.log" 2>&1 &
pids=($!)
for _ in $(seq 100); do jack_lsp >/dev/null 2>&1 && break; sleep 0.05; done
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
pids=($! "${pids[@]}")
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
DISPLAY=":$(head -n 1 "$work/display")" ALSOFT_DRIVERS=null ./build/tolme --audio jack 2>"$work/stderr.log" &
pids=($! "${pids[@]}")
for _ in $(seq 100); do
  grep -q "playing through JACK" "$work/stderr.log" 2>/dev/null && break
  sleep 0.1
done
line=$(grep "playing through JACK" "$work/stderr.log") || { cat "$work/stderr.log"; exit 1; }
echo "period $period frames at 48 kHz: ${line#*Hz, }"
