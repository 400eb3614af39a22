# The pattern's tempo and swing as a person meets them: a version 2 file is heard at its tempo and swing from
# the first sweep; ten presses of = in mid-play bring the tempo to 97 BPM, the notes speeding up with none
# doubled or lost; taps on T set the tempo to the taps' pace; Ctrl+S writes version 2, and version 1 again
# once Ctrl+Z has brought the default timing back.
source "$(dirname "$0")/harness.sh"

since() { echo "$(date +%s.%N) - $1" | bc -l; }
plus() { echo "$1 + $2" | bc -l; }
timing_of() { grep -E '^(tolme-pattern|tempo|swing)' "$1" | paste -sd' '; }

# Notes in odd and even columns, so the swing shows.
swung="1.2............./................/..3.4.........../................/................/........1.2...../................/............3.4."
song="$work_dir/swung.tolme"
printf '# swung\ntolme-pattern 2\ntempo 120\nswing 60\n' >"$song"
tr '/' '\n' <<<"$swung" >>"$song"
start_tolme "" "$song"
wait_for_window "Tolme - A Musical Instrument"
sleep 6
key Escape
expect_exit 0
cp "$capture_file" "$artifacts_dir/swung.wav"
echo "version 2 file at 120 BPM, swing 60 %:"
expect_on_time_at 120 60 "$swung" 1 8

# Four EARTH notes a bar, one every four columns: each note rises clearly over the tail before it.
beats="................/................/................/................/................/................/................/1...1...1...1..."
song="$work_dir/beats.tolme"
write_pattern "$song" "$beats"
rm -f "$capture_file"
started=$(date +%s.%N)
start_tolme "" "$song"
wait_for_window "Tolme - A Musical Instrument"
sleep 1
key a
chosen=$(since "$started")
sleep 5
pressing=$(since "$started")
for _ in $(seq 10); do key equal; done
pressed=$(since "$started")
sleep 6
screenshot tempo_97
tapping=$(since "$started")
xdotool key --window "$tolme_window" --delay 500 t t t t t
tapped=$(since "$started")
sleep 0.5
chord ctrl+s
sleep 0.5
[ "$(timing_of "$song")" != "tolme-pattern 1" ] || fail "Ctrl+S after the taps wrote version 1"
tapped_tempo=$(awk '/^tempo/ {print $2}' "$song")
sleep 5
undoing=$(since "$started")
# Back to the file as opened, as a player would: Ctrl+Z until nothing is left to undo (the taps and the presses
# of = are a step each, or more when a busy machine kept two of them a second apart).
for _ in 1 2 3 4; do chord ctrl+z; sleep 0.15; done
sleep 0.3
chord ctrl+s
sleep 0.5
[ "$(timing_of "$song")" = "tolme-pattern 1" ] || fail "back at the default Ctrl+S wrote: $(timing_of "$song")"
key Escape
expect_exit 0
cp "$capture_file" "$artifacts_dir/tempo_change.wav"
echo "tapped tempo: $tapped_tempo BPM"
awk -v t="$tapped_tempo" 'BEGIN { exit !(t >= 118 && t <= 122) }' || fail "taps half a second apart set $tapped_tempo BPM"

echo "before the presses, at the default tempo:"
expect_on_time "$beats" "$(plus "$chosen" 1)" 4 "$pressing"
echo "after them, at 97 BPM:"
expect_on_time_at 97 50 "$beats" "$(plus "$pressed" 1)" 6 "$tapping"
echo "after the taps, at $tapped_tempo BPM:"
expect_on_time_at "$tapped_tempo" 50 "$beats" "$(plus "$tapped" 1)" 4 "$undoing"
# Through the presses every note comes a little sooner than the last, never twice and never left out: each
# interval lies between four columns at 97 BPM (618.6 ms) and at the default (682.7 ms).
"$timing_probe" --onsets "$capture_file" "$(plus "$pressing" -1)" "$(plus "$pressed" 3)" >"$artifacts_dir/onsets.txt"
awk '{ if (NR > 1) { d = 1000 * ($2 - last); if (d < 612 || d > 689) bad = bad " " d; n++ } last = $2 }
     END { print n " intervals through the presses"; if (bad != "" || n < 5) { print "off:" bad; exit 1 } }' \
  "$artifacts_dir/onsets.txt" || fail "a note doubled or left out while the tempo changed"
echo "timing: passed"
