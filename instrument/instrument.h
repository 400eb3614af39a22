// The instrument: all of its state in one structure that the program makes at start and frees at the end,
// handed by reference to everything that needs it, and its three hooks into the frame loop (content set-up
// once, then update and draw every tick).
#pragma once

#include "core/file_dialog.h"
#include "instrument/autosave.h"
#include "instrument/element_effects.h"
#include "instrument/element_menu.h"
#include "instrument/elements.h"
#include "instrument/grid_cursor.h"
#include "instrument/note_playing.h"
#include "instrument/note_sounds.h"
#include "instrument/pattern_model.h"
#include "instrument/tap_tempo.h"
#include "instrument/timing_readout.h"
#include "instrument/title_letters.h"
#include "instrument/token.h"
#include "scene/object.h"
#include "scene/text_label.h"

#include <allegro5/allegro.h>

#include <memory>
#include <string>
#include <vector>

class link_follower_class;
class mixer_class;
class sound_output_class;
class studio_cycle_class;

// Size factor of the token grid, its tokens and their pulses.
constexpr float grid_scale = 0.8f;
// x of the grid's left edge and of the play line's zero.
constexpr float grid_origin_x = 100.0f;

class instrument_class
{
public:
    // What it plays through: the mixer it hands the pattern to, and the output whose heard clock times the
    // pulses (the program may move to another output while it plays), and where in its column a note sounds.
    mixer_class& mixer;
    sound_output_class* output;
    note_placement placement = note_placement::token;
    // On JACK, the cycle that plays with other programs, whose followed tempo the readout shows; else null.
    const studio_cycle_class* studio = nullptr;
    // The Link session to join or leave with L (the program's, on either output); null in tests.
    link_follower_class* link = nullptr;
    follow_reading following;
    // The player's pattern: the one truth that the tokens, the buttons' counts and the mixer follow.
    pattern_model_class model;
    note_sounds_class note_sounds;

    // Objects register in the objects bin as they are built, and those of equal depth are drawn in that
    // order: the prompt, the glow and overlay, the title, the buttons, the notice, the readout, the cursor's
    // ring, the bursts and the tokens.
    text_label_class menu_prompt;
    bool prompt_shown = false;
    // Additive glow on the bottom edge and decorative overlay above the grid, both tinted by the chosen
    // element.
    Object glow_sprite;
    Object overlay_sprite;
    title_letters_class title_letters;
    element_button_class earth_button;
    element_button_class wind_button;
    element_button_class water_button;
    element_button_class fire_button;
    // What happened just now, at the top of the window.
    text_label_class notice;
    // The tempo and swing, in the bottom right corner of the play screen.
    text_label_class readout;
    // The keyboard's cursor on the grid and its ring.
    grid_cursor_class cursor;
    Object cursor_ring;
    // The running bursts; the lists own them.
    std::vector<wind_animation_class*> wind_effects;
    std::vector<water_animation_class*> water_effects;
    std::vector<flame_animation_class*> flame_effects;
    // Column-major: index = column * grid_rows + row, as the pattern's cells; owned.
    std::vector<token_class*> token_grid;

    // no_element before the player has chosen; then the element chosen.
    element_id current_element = no_element;
    // Whether the grid is on show: from the first choice of an element on.
    bool grid_shown = false;
    // Shown where nothing clickable is under the mouse, and over element buttons and tokens; null when their
    // image is missing.
    ALLEGRO_MOUSE_CURSOR* arrow_cursor = nullptr;
    ALLEGRO_MOUSE_CURSOR* pointer_cursor = nullptr;
    // Length of one sweep; accumulated column by column when the grid is created.
    float grid_width = 0.0f;

    // Where Ctrl+S saves the pattern; empty until the player picks a file.
    std::string pattern_file;
    // The dialog in which the player picks it, or a file to open, and which of the two it is for.
    file_dialog_class file_dialog;
    bool dialog_saves = false;
    // The bytes Tolme last read from that file or wrote to it: other bytes there were put by another program.
    std::string pattern_file_text;
    std::unique_ptr<autosave_class> autosave;
    tap_tempo_class tap_tempo;
    // Whether sound reached a device at the last tick, and whether it was lost since, so that losing it and
    // finding it again are told.
    bool sound_playing = false;
    bool sound_lost = false;

    instrument_class(mixer_class& mixer, sound_output_class& output) : mixer(mixer), output(&output) {}
    instrument_class(const instrument_class&) = delete;
    instrument_class& operator=(const instrument_class&) = delete;
    // Frees the tokens, bursts and cursors: while Allegro is installed and after the sound has stopped.
    ~instrument_class();
};

void instrument_setup(instrument_class& instrument);
void instrument_update(instrument_class& instrument);
void instrument_draw(instrument_class& instrument);

// Brightens a token's bead when the mouse comes onto it; only a change of state restarts the tween.
void token_hover_on(token_class& token);
// Dims it back when the mouse leaves.
void token_hover_off(token_class& token);
// Hover on or off for the tokens under or away from the mouse, then the cursor for what is under it, which
// is shown and returned.
ALLEGRO_MOUSE_CURSOR* update_hover_and_cursor(instrument_class& instrument);
