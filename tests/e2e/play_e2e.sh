# Playing the instrument as a person would: the start menu is silent; elements are chosen by key and by click;
# tokens placed in known cells sound at the times the play line crosses their columns, each with its row's
# pitch, WIND panned right; a token cleared with the right button is silent in later sweeps.
source "$(dirname "$0")/harness.sh"

since_start() { echo "$(date +%s.%N) - $started" | bc -l; }

started=$(date +%s.%N)
start_tolme
wait_for_window "Tolme - A Musical Instrument"
sleep 2
screenshot title
sleep 3.5
screenshot menu
menu_silent_until=$(since_start)

key a                                            # EARTH by key
click "$(token_x 2)" "$(token_y 7)"              # note 0
click 587 520                                    # WATER by its button
click "$(token_x 6)" "$(token_y 0)"              # note 7
key s                                            # WIND
click "$(token_x 10)" "$(token_y 4)"             # note 3
key f                                            # FIRE
click "$(token_x 14)" "$(token_y 2)"             # note 5
xdotool mousemove --window "$tolme_window" 1000 20
placed_at=$(since_start)
sleep 1
screenshot tokens_placed
sleep 0.3
screenshot bursts
sleep 7
click "$(token_x 2)" "$(token_y 7)" 3            # clear the EARTH token
earth_cleared_at=$(since_start)
sleep 7
screenshot earth_cleared
key Escape
expect_exit 0

"$wav_probe" "$capture_file" >"$artifacts_dir/onsets.txt"
cp "$capture_file" "$artifacts_dir/capture.wav"
# The capture starts when the program opens its sound device, a little after it was started: the times in
# the script are upper bounds of capture times, which keeps the checks below on the safe side.
# Onsets before the placements ended include the selection chimes; only the menu's silence is checked there.
awk -v menu_end="$menu_silent_until" -v placed="$placed_at" -v cleared="$earth_cleared_at" '
  function near(f, target) { return f > target * 0.97 && f < target * 1.03 }
  $1 == "onset" && $3 > 0 {
    t = $2; f = $3; balance = $5
    if (t < menu_end - 1) { printf "sound during the start menu at %.3f s\n", t; bad = 1 }
    if (t < placed) next
    if (near(f, 261.63)) { earth++; if (t > cleared + 0.5) { printf "cleared EARTH token sounded at %.3f s\n", t; bad = 1 } }
    else if (near(f, 659.26)) water++
    else if (near(f, 392.00)) { wind++; if (balance < 1.4) { printf "WIND note at %.3f s not panned right (%.2f)\n", t, balance; bad = 1 } }
    else if (near(f, 523.25)) fire++
    else { printf "unexpected pitch %.1f Hz at %.3f s\n", f, t; bad = 1 }
    if (f > 0 && !near(f, 392.00) && (balance < 0.8 || balance > 1.25)) { printf "centred note at %.3f s has balance %.2f\n", t, balance; bad = 1 }
    times[n++] = t
  }
  END {
    printf "heard: earth %d, water %d, wind %d, fire %d\n", earth, water, wind, fire
    if (earth < 2 || water < 4 || wind < 4 || fire < 4) { print "too few notes heard"; bad = 1 }
    # Consecutive notes are four columns apart: a quarter sweep, 4 * 51.2 / 300 s, or a multiple of it,
    # within less than half a column.
    q = 4 * 51.2 / 300
    for (i = 1; i < n; i++) {
      k = int((times[i] - times[i - 1]) / q + 0.5)
      e = times[i] - times[i - 1] - k * q
      if (k < 1 || e > 0.085 || e < -0.085) { printf "notes at %.3f and %.3f s are off the column grid\n", times[i - 1], times[i]; bad = 1 }
    }
    exit bad
  }' "$artifacts_dir/onsets.txt" || fail "the captured sound does not match the placed tokens (see $artifacts_dir/onsets.txt)"
echo "play: passed"
