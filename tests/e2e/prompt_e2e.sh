# The start menu's prompt, drawn on a window's own bitmaps as the program draws it, is exactly its text on
# whole pixels: no stroke dropped or doubled where its centred edge falls between two pixels.
source "$(dirname "$0")/harness.sh"

(cd "$repo_root" && "$tools_dir/prompt_pixels") || fail "the prompt on screen is not its text"
start_tolme
wait_for_window "Tolme - A Musical Instrument"
sleep 5.5
screenshot prompt
key Escape
expect_exit 0
echo "prompt: passed"
