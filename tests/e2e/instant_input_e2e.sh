# Presses released at once, as a touchpad's tap or a remote desktop sends them, count like any other: instant
# keys choose elements and instant clicks place tokens, and every placed token is heard on its frame.
source "$(dirname "$0")/harness.sh"

# Five WATER then five FIRE tokens, each placed by an instant click after an instant key.
pattern="3......4......../.3......4......./..3......4....../...3......4...../....3......4..../................/................/................"
started=$(date +%s.%N)
start_tolme
wait_for_window "Tolme - A Musical Instrument"
sleep 1
for element in d f; do
  xdotool key --window "$tolme_window" --delay 0 "$element"
  sleep 0.1
  for row in 0 1 2 3 4; do
    column=$row
    [ "$element" = f ] && column=$((row + 7))
    xdotool mousemove --window "$tolme_window" "$(token_x "$column")" "$(token_y "$row")"
    sleep 0.05
    xdotool click 1
    sleep 0.05
  done
done
xdotool mousemove --window "$tolme_window" 1000 20
placed=$(echo "$(date +%s.%N) - $started + 1" | bc -l)
sleep 6
screenshot placed
key Escape
expect_exit 0
expect_on_time "$pattern" "$placed" 10
echo "instant input: passed"
