# Drives the real program as a person would: its own X server (Xvfb), real key and mouse events (xdotool),
# screenshots (ImageMagick) and its whole sound mix captured to a WAV file by OpenAL Soft's wave writer (or
# through a private PulseAudio server).
# Sourced by the *_e2e.sh scripts; they call start_tolme, key, click, screenshot, stop_tolme.
set -euo pipefail

tolme_binary=$(realpath "${1:?path to the tolme binary}")
repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
tools_dir=$(dirname "$tolme_binary")/tests
count_damage="$tools_dir/count_damage"
timing_probe="$tools_dir/timing_probe"
work_dir=$(mktemp -d /tmp/tolme-e2e.XXXXXX)
artifacts_dir="$repo_root/build/e2e-artifacts/$(basename "$0" .sh)"
mkdir -p "$artifacts_dir"
xvfb_pid=""
openbox_pid=""
tolme_pid=""
parecord_pid=""
pipewire_pids=()
tolme_window=""
capture_file="$work_dir/capture.wav"

fail() {
  echo "FAIL: $*" >&2
  [ -s "$work_dir/stderr.log" ] && { echo "the program's standard error:" >&2; tail -n 20 "$work_dir/stderr.log" >&2; }
  [ -s "$work_dir/jackd.log" ] && { echo "the JACK server's log:" >&2; tail -n 20 "$work_dir/jackd.log" >&2; }
  exit 1
}

# end_process PID...: asks each to end, makes it end after 5 s, and reaps it: a stuck process must not hold
# the test until its timeout.
end_process() {
  for pid in "$@"; do
    kill "$pid" 2>/dev/null || continue
    for _ in $(seq 100); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.05
    done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
}

cleanup() {
  [ -n "$tolme_pid" ] && end_process "$tolme_pid"
  [ -n "$openbox_pid" ] && end_process "$openbox_pid"
  [ -n "$xvfb_pid" ] && kill -CONT "$xvfb_pid" 2>/dev/null && end_process "$xvfb_pid"
  stop_pulse
  stop_jackd
  end_process "${pipewire_pids[@]}" $(jobs -p)
  # The X server's and the program's own accounts of the run stay with the artifacts.
  [ -s "$work_dir/xvfb.log" ] && cp "$work_dir/xvfb.log" "$artifacts_dir/"
  [ -s "$work_dir/stderr.log" ] && cp "$work_dir/stderr.log" "$artifacts_dir/"
  rm -rf "$work_dir"
}
trap cleanup EXIT

# Xvfb picks a free display itself and names it once it accepts clients; -noreset keeps it from resetting
# (and refusing connections for a moment) each time its last client, such as a probe, disconnects. A script
# may set screen_size before sourcing this.
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 "${screen_size:-1280x800}x24" -nolisten tcp -noreset 3>"$work_dir/display" \
    >"$work_dir/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 200); do
    if [ -s "$work_dir/display" ]; then
      export DISPLAY=":$(head -n 1 "$work_dir/display")"
      return 0
    fi
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.05
  done
  fail "Xvfb did not start: $(cat "$work_dir/xvfb.log")"
}

# A window manager (openbox), which full screen and a player's resizing need: a bare X server leaves windows
# as they are. Returns once it has taken the screen.
start_window_manager() {
  openbox --sm-disable >"$work_dir/openbox.log" 2>&1 &
  openbox_pid=$!
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
    sleep 0.05
  done
  fail "openbox did not start: $(cat "$work_dir/openbox.log")"
}

# Sound goes to a WAV file in real time, so the test hears what a player would.
# Each run autosaves into the test's own state folder, never the player's.
export XDG_STATE_HOME="$work_dir/state"

write_audio_config() {
  printf '[general]\ndrivers=wave\n[wave]\nfile=%s\n' "$capture_file" >"$work_dir/alsoft.conf"
  export ALSOFT_CONF="$work_dir/alsoft.conf"
}

# The path a Linux desktop takes: a private PulseAudio server whose one sink is a null sink, with the sink's
# monitor recorded into the capture file. Allegro picks PulseAudio first when a server answers.
start_pulse() {
  export XDG_RUNTIME_DIR="$work_dir/runtime"
  mkdir -p -m 700 "$XDG_RUNTIME_DIR"
  unset ALSOFT_CONF
  HOME="$work_dir" pulseaudio -n --daemonize=yes --exit-idle-time=-1 --log-target=file:"$work_dir/pulse.log" \
    --load="module-null-sink sink_name=tolme_sink rate=44100" \
    --load="module-native-protocol-unix auth-anonymous=1" 2>/dev/null || fail "PulseAudio did not start"
  for _ in $(seq 100); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.05
  done
  # When the capture began, as a wall time and how far from it the truth may lie: from just before the
  # recorder starts until its stream is there. A machine that holds the shell up around it widens the doubt.
  capture_began=$(date +%s.%N)
  parecord --device=tolme_sink.monitor --file-format=wav "${1:-$capture_file}" &
  parecord_pid=$!
  for _ in $(seq 200); do
    [ -n "$(pactl list short source-outputs 2>/dev/null)" ] && break
    sleep 0.01
  done
  capture_doubt=$(echo "$(date +%s.%N) - $capture_began" | bc -l)
}

stop_pulse() {
  [ -n "$parecord_pid" ] && kill -INT "$parecord_pid" 2>/dev/null && wait "$parecord_pid" 2>/dev/null || true
  parecord_pid=""
  [ -n "${XDG_RUNTIME_DIR:-}" ] && [ -d "$work_dir/runtime" ] && pulseaudio --kill 2>/dev/null || true
}

# The path of a desktop whose PipeWire runs without its session manager (WirePlumber): its PulseAudio server
# accepts clients but never readies a stream, so opening a sound device never returns.
start_pipewire_without_session_manager() {
  export XDG_RUNTIME_DIR="$work_dir/runtime"
  mkdir -p -m 700 "$XDG_RUNTIME_DIR"
  unset ALSOFT_CONF
  HOME="$work_dir" pipewire >"$work_dir/pipewire.log" 2>&1 &
  pipewire_pids+=($!)
  HOME="$work_dir" pipewire-pulse >>"$work_dir/pipewire.log" 2>&1 &
  pipewire_pids+=($!)
  for _ in $(seq 100); do
    pactl info >/dev/null 2>&1 && return 0
    sleep 0.05
  done
  fail "PipeWire's PulseAudio server did not start: $(cat "$work_dir/pipewire.log")"
}

# CPU ticks used so far by the program's threads whose names match a pattern, all of them when none is given.
cpu_ticks() {
  local pattern=${1:-.} total=0 task
  for task in /proc/"$tolme_pid"/task/*; do
    grep -qE "$pattern" "$task/comm" 2>/dev/null || continue
    total=$((total + $(awk '{print $14 + $15}' "$task/stat" 2>/dev/null || echo 0)))
  done
  echo "$total"
}

# cpu_share SECONDS [PATTERN]: the CPU use over the next SECONDS of the program (or of its threads whose names
# match PATTERN), in percent of one core.
cpu_share() {
  local before after
  before=$(cpu_ticks "${2:-}")
  sleep "$1"
  after=$(cpu_ticks "${2:-}")
  echo "100 * ($after - $before) / $(getconf CLK_TCK) / $1" | bc -l | xargs printf '%.1f\n'
}

# The threads that carry the sound: the supervisor, the device's opening and the device's own pulls.
audio_threads="^tolme-(supervise|open|device)$"

# start_tolme [data-dir] [arguments...]: runs the program in a working directory whose data/ is the given
# folder (the repository's data/ when empty or not given), with the arguments.
start_tolme() {
  local data_dir=${1:-$repo_root/data}
  [ $# -gt 0 ] && shift
  mkdir -p "$work_dir/run"
  ln -sfn "$(realpath "$data_dir")" "$work_dir/run/data"
  (cd "$work_dir/run" && exec "$tolme_binary" "$@") >"$work_dir/stdout.log" 2>"$work_dir/stderr.log" &
  tolme_pid=$!
}

wait_for_window() {
  local title=$1
  for _ in $(seq 600); do
    tolme_window=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -n 1 || true)
    [ -n "$tolme_window" ] && return 0
    kill -0 "$tolme_pid" 2>/dev/null || fail "program ended before a window titled '$title' appeared"
    sleep 0.05
  done
  fail "no window titled '$title'"
}

# Input is polled once per tick, so a key or button is held for a few ticks. A key that ends the program
# (Escape) may have closed the window before it is let go.
key() {
  xdotool keydown --window "$tolme_window" "$1"
  sleep 0.08
  xdotool keyup --window "$tolme_window" "$1" 2>/dev/null || [ "$1" = Escape ]
  sleep 0.05
}

# chord ctrl+s: a key with its modifiers pressed and let go at once, as a person's Ctrl+S. Sent to the
# focused window as real key events, so the modifier's own press and release arrive too.
chord() {
  xdotool windowfocus --sync "$tolme_window" key "$1"
  sleep 0.1
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

# place_pattern PATTERN: places a pattern given as 8 rows of 16 cells joined by '/' ('.' empty, '1' to '4'
# EARTH, WIND, WATER, FIRE), choosing each element with its key, then moves the mouse off the grid.
place_pattern() {
  local keys=(x a s d f) row=0 column cell
  IFS=/ read -ra rows <<<"$1"
  for line in "${rows[@]}"; do
    for column in $(seq 0 15); do
      cell=${line:$column:1}
      [ "$cell" = "." ] && continue
      key "${keys[$cell]}"
      click "$(token_x "$column")" "$(token_y "$row")"
    done
    row=$((row + 1))
  done
  xdotool mousemove --window "$tolme_window" 1000 20
}

# The timing tests' pattern: eight notes in every other column, climbing, the four elements in turn.
climbing_pattern="..............4./............3.../..........2...../........1......./......4........./....3.........../..2............./1..............."

# play_pattern PATTERN: starts the program and places the pattern; sets $placed to a capture time by which it
# is placed and the last selection chime has faded (the capture starts when the program opens its sound
# device, a little after it was started, so script times are upper bounds of capture times).
play_pattern() {
  local started
  started=$(date +%s.%N)
  start_tolme
  wait_for_window "Tolme - A Musical Instrument"
  sleep 1
  place_pattern "$1"
  placed=$(echo "$(date +%s.%N) - $started + 1" | bc -l)
}

# expect_on_time PATTERN FROM [COUNT] [UNTIL]: every note of the pattern heard between capture seconds FROM
# and UNTIL (the end) is the program's own sound for it, on the line's schedule to the frame after one
# constant latency, none lost, at least COUNT of them; prints the probe's figures.
expect_on_time() {
  local figures
  figures=$(cd "$repo_root" && "$timing_probe" "${probe_options[@]}" "$capture_file" "$1" "$2" ${4:+"$4"}) ||
    fail "timing probe: $figures"
  echo "$figures" >"$artifacts_dir/timing.txt"
  read -r _ onsets lost _ _ worst _ latency _ <<<"$figures"
  echo "notes timed: $onsets, lost $lost, worst deviation $worst ms, capture latency $latency ms"
  [ "$onsets" -ge "${3:-8}" ] || fail "only $onsets notes timed"
  [ "$lost" -eq 0 ] || fail "$lost notes lost"
  awk -v w="$worst" 'BEGIN { exit !(w <= 0.1) }' || fail "a note is $worst ms off its frame"
}

# expect_on_time_at BPM SWING PATTERN FROM [COUNT] [UNTIL]: the same, for the pattern at that tempo and swing.
probe_options=()
expect_on_time_at() {
  probe_options=(--tempo "$1" --swing "$2")
  shift 2
  expect_on_time "$@"
  probe_options=()
}

# expect_silence FROM UNTIL: nothing heard between the capture seconds (the empty pattern's sound).
expect_silence() {
  local empty="................/................/................/................/................/................/................/................"
  (cd "$repo_root" && "$timing_probe" "$capture_file" "$empty" "$1" "$2") >/dev/null || fail "sound between $1 and $2 s"
}

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
  # One that hangs on the way out tells where each of its threads is, dumps its core (where core dumps are on)
  # and fails the test at once.
  if kill -0 "$tolme_pid" 2>/dev/null; then
    echo "the program's threads, still running 10 s after it was asked to end:" >&2
    gdb -p "$tolme_pid" -batch -ex "thread apply all bt" 2>/dev/null | grep -E '^(Thread|#)' | head -n 200 >&2 || true
    kill -ABRT "$tolme_pid" 2>/dev/null || true
    wait "$tolme_pid" 2>/dev/null || true
    tolme_pid=""
    fail "the program did not end within 10 s"
  fi
  wait "$tolme_pid" || status=$?
  tolme_pid=""
  [ "$status" -eq "$expected" ] || fail "exit status $status, expected $expected; stderr: $(cat "$work_dir/stderr.log")"
}

start_xvfb
write_audio_config

# write_pattern FILE PATTERN: a version 1 pattern file holding the pattern (rows joined by '/').
write_pattern() {
  printf 'tolme-pattern 1\n' >"$1"
  tr '/' '\n' <<<"$2" >>"$1"
}

# A private JACK server with the dummy driver (no sound card needed), in its default realtime mode so that
# its clients do not miss cycles on a busy machine; clients find it through JACK_DEFAULT_SERVER. JACK keeps
# at most eight servers' names, a killed server's until a server of the same name starts: so every run, from
# any checkout, uses the same name (two test runs at once on one machine would meet).
jackd_pid=""
start_jackd() {
  export JACK_DEFAULT_SERVER="tolme-e2e"
  jackd -n "$JACK_DEFAULT_SERVER" "$@" -d dummy -r 48000 -p 256 >"$work_dir/jackd.log" 2>&1 &
  jackd_pid=$!
  for _ in $(seq 100); do
    jack_lsp >/dev/null 2>&1 && return 0
    sleep 0.05
  done
  fail "jackd did not start: $(cat "$work_dir/jackd.log")"
}

# jack_xruns: how many times so far the server said a cycle ran over (a client lost it, and a dump may have
# lost its messages or counted them a cycle off).
jack_xruns() { grep -c XRun "$work_dir/jackd.log" || true; }

# heard_quietly FUNCTION: runs FUNCTION, which plays and listens and sets xruns to the cycles the server said it
# lost meanwhile, and runs it again, twice at most, while that was more than a few: on a machine that busy (one
# run here lost 186 cycles in 9 s) every client loses cycles and nothing can be judged to the frame. Sets
# quiet to 1 when the last run was quiet, 0 (and says so) when not.
busy_xruns=8
heard_quietly() {
  for attempt in 1 2 3; do
    "$1"
    quiet=1
    [ "$xruns" -gt "$busy_xruns" ] || return 0
    quiet=0
    echo "the server lost $xruns cycles while Tolme played (run $attempt): too busy to judge"
  done
  echo "three runs too busy: their frames are not judged"
}

jack_clients=()
stop_jackd() {
  end_process "${jack_clients[@]}" $jackd_pid
  jack_clients=()
  jackd_pid=""
}

# wait_for_port NAME: until the JACK port exists.
wait_for_port() {
  for _ in $(seq 200); do
    jack_lsp 2>/dev/null | grep -qx "$1" && return 0
    sleep 0.05
  done
  fail "no JACK port $1"
}

# start_on_jack [ARGUMENTS...]: the program on the private JACK server, once its window and ports are there.
start_on_jack() {
  start_tolme "" "$@"
  wait_for_window "Tolme - A Musical Instrument"
  wait_for_port tolme:midi_in
}

# dump_midi FILE PORT...: jack_midi_dump -a into FILE, its input connected to the ports; sets dump_pid.
dump_midi() {
  local file=$1 name="dump-$RANDOM"
  shift
  jack_midi_dump -a "$name" >"$file" 2>&1 &
  dump_pid=$!
  jack_clients+=("$dump_pid")
  wait_for_port "$name:input"
  for port in "$@"; do jack_connect "$port" "$name:input"; done
}
