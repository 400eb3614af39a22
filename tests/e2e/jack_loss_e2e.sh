# The JACK server killed while Tolme plays through it with --audio auto: the window carries on, the loss is
# told and within 2 s Tolme plays on through the desktop's sound device (here OpenAL Soft's wave writer at
# 48 kHz), the line in its own time with every note on its frame; the process does not spin, and Escape still
# ends it with status 0.
source "$(dirname "$0")/harness.sh"

printf '[general]\ndrivers=wave\nfrequency=48000\n[wave]\nfile=%s\n' "$capture_file" >"$work_dir/alsoft.conf"
start_jackd
pattern="1...1...1...1.../................/................/................/..2.......2...../................/................/................"
song="$work_dir/loss.tolme"
write_pattern "$song" "$pattern"
start_on_jack "$song"
sleep 2
killed=$(date +%s.%N)
kill -9 "$jackd_pid"
jackd_pid=""
moved=""
for _ in $(seq 60); do
  if grep -q "The JACK server is gone: playing on through the desktop's sound" "$work_dir/stderr.log"; then
    moved=$(echo "$(date +%s.%N) - $killed" | bc -l)
    break
  fi
  kill -0 "$tolme_pid" 2>/dev/null || fail "the program ended when the server went away"
  sleep 0.05
done
[ -n "$moved" ] || fail "no move to the desktop's sound within 3 s"
printf 'moved to the desktop within %.2f s\n' "$moved"
awk -v s="$moved" 'BEGIN { exit !(s < 2) }' || fail "the move took $moved s"
sleep 1
share=$(cpu_share 3)
echo "CPU after the move: $share % of a core"
awk -v s="$share" 'BEGIN { exit !(s < 90) }' || fail "the program spins at $share %"
sleep 3
key Escape
expect_exit 0
cp "$capture_file" "$artifacts_dir/after_loss.wav"
echo "the desktop's sound after the move:"
probe_options=(--rate 48000 --beat)
expect_on_time "$pattern" 0.5 6
echo "jack loss: passed"
