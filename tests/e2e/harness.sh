# Drives the real program as a person would: its own X server (Xvfb), real key and mouse events (xdotool),
# screenshots (ImageMagick) and its whole sound mix captured to a WAV file by OpenAL Soft's wave writer.
# Sourced by the *_e2e.sh scripts; they call start_tolme, key, click, screenshot, stop_tolme.
set -euo pipefail

tolme_binary=$(realpath "${1:?path to the tolme binary}")
repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
tools_dir=$(dirname "$tolme_binary")/tests
close_window="$tools_dir/close_window"
wav_probe="$tools_dir/wav_probe"
work_dir=$(mktemp -d /tmp/tolme-e2e.XXXXXX)
artifacts_dir="$repo_root/build/e2e-artifacts/$(basename "$0" .sh)"
mkdir -p "$artifacts_dir"
xvfb_pid=""
tolme_pid=""
tolme_window=""
capture_file="$work_dir/capture.wav"

fail() { echo "FAIL: $*" >&2; exit 1; }

cleanup() {
  [ -n "$tolme_pid" ] && kill "$tolme_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work_dir"
}
trap cleanup EXIT

start_xvfb() {
  local n=99
  while [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >"$work_dir/xvfb.log" 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$n"
  for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.05
  done
  fail "Xvfb did not start on :$n"
}

# Sound goes to a WAV file in real time, so the test hears what a player would.
write_audio_config() {
  printf '[general]\ndrivers=wave\n[wave]\nfile=%s\n' "$capture_file" >"$work_dir/alsoft.conf"
  export ALSOFT_CONF="$work_dir/alsoft.conf"
}

# start_tolme [data-dir]: runs the program in a working directory whose data/ is the given folder
# (the repository's data/ by default) and waits for its window.
start_tolme() {
  local data_dir=${1:-$repo_root/data}
  mkdir -p "$work_dir/run"
  ln -sfn "$(realpath "$data_dir")" "$work_dir/run/data"
  (cd "$work_dir/run" && exec "$tolme_binary") >"$work_dir/stdout.log" 2>"$work_dir/stderr.log" &
  tolme_pid=$!
}

wait_for_window() {
  local title=$1
  for _ in $(seq 600); do
    tolme_window=$(xdotool search --name "^${title}\$" 2>/dev/null | head -n 1 || true)
    [ -n "$tolme_window" ] && return 0
    kill -0 "$tolme_pid" 2>/dev/null || fail "program ended before a window titled '$title' appeared"
    sleep 0.05
  done
  fail "no window titled '$title'"
}

# Input is polled once per tick, so a key or button is held for a few ticks.
key() {
  xdotool keydown --window "$tolme_window" "$1"
  sleep 0.08
  xdotool keyup --window "$tolme_window" "$1"
  sleep 0.05
}

click() {
  local x=$1 y=$2 button=${3:-1}
  xdotool mousemove --window "$tolme_window" "$x" "$y"
  sleep 0.05
  xdotool mousedown "$button"
  sleep 0.08
  xdotool mouseup "$button"
  sleep 0.05
}

# Window coordinates of the centre of the token in a grid column and row (cells of 51.2 px from (100, 80),
# sprites centred on the cell's top edge).
token_x() { echo $((100 + $1 * 512 / 10 + 26)); }
token_y() { echo $((80 + $1 * 512 / 10)); }

screenshot() {
  import -window "$tolme_window" "$artifacts_dir/$1.png"
}

# Waits for the program to end and checks its exit status.
expect_exit() {
  local expected=$1 status=0
  for _ in $(seq 200); do
    kill -0 "$tolme_pid" 2>/dev/null || break
    sleep 0.05
  done
  wait "$tolme_pid" || status=$?
  tolme_pid=""
  [ "$status" -eq "$expected" ] || fail "exit status $status, expected $expected; stderr: $(cat "$work_dir/stderr.log")"
}

start_xvfb
write_audio_config
