#include "instrument/timing_readout.h"

#include "core/screen.h"
#include "instrument/element_menu.h"
#include "instrument/instrument.h"
#include "instrument/pattern_file.h"
#include "resources/bins.h"

static const int readout_size = -15;
// Inside the overlay's frame, whose lines run 12 to 18 px from the window's edges.
static const float readout_margin = 28.0f;

std::string timing_text(const pattern_class& pattern)
{
    return tempo_text(pattern.tempo) + " BPM   SWING " + std::to_string(pattern.swing) + " %";
}

void setup_timing_readout(instrument_class& instrument)
{
    Object& readout = instrument.readout;
    readout.move_to(static_cast<float>(screen_width) - readout_margin, static_cast<float>(screen_height) - readout_margin);
    readout.set_anchor(1.0f, 1.0f);
    readout.blend_mode = blend_additive;
    readout.tint_anim.set(al_map_rgb(128, 128, 128));
    readout.z_anim.set(30.0f);
    readout.opacity_anim.set(0.0f);
    show_timing(instrument);
}

void show_timing_readout(instrument_class& instrument)
{
    instrument.readout.opacity_anim.animate(0.0f, 1.0f, 0.0, 0.5, curve_ease_out);
}

void show_timing(instrument_class& instrument)
{
    replace_owned_image(instrument.readout,
                        fonts_bin.additive_text(menu_font, readout_size, timing_text(instrument.model.pattern())));
}
