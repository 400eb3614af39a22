#include "scene/debug_overlay.h"

#include "core/screen.h"
#include "math/colors.h"
#include "resources/bins.h"
#include "resources/fallbacks.h"
#include "scene/object.h"

#include <allegro5/allegro_font.h>

bool debug_overlay = false;

// The lines on show, so that a change of a count is drawn.
static std::array<std::string, 4> drawn_lines;

std::array<std::string, 4> debug_overlay_lines()
{
    using std::to_string;
    return {"Graphics Bin: " + to_string(graphics_bin.size(true)) + " (" + to_string(graphics_bin.missing_count()) +
                " missing)",
            "Objects Bin: " + to_string(static_cast<int>(objects_bin.size())),
            "Fonts Bin: " + to_string(fonts_bin.size(false)) + " (" + to_string(fonts_bin.missing_count()) +
                " missing, " + to_string(fonts_bin.cached_count()) + " rendered in cache)",
            "Samples Bin: " + to_string(samples_bin.size(false)) + " (" + to_string(samples_bin.missing_count()) +
                " missing)"};
}

void draw_debug_overlay()
{
    // Allegro's glyphs come premultiplied, unlike our bitmaps: blended as straight alpha their edges would
    // fade to coverage squared.
    ALLEGRO_STATE blender;
    al_store_state(&blender, ALLEGRO_STATE_BLENDER);
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ONE, ALLEGRO_INVERSE_ALPHA);
    drawn_lines = debug_overlay_lines();
    for (std::size_t i = 0; i < drawn_lines.size(); ++i)
        al_draw_text(fallback_font, current_tint(), 30.0f, 30.0f + 25.0f * static_cast<float>(i), 0,
                     drawn_lines[i].c_str());
    al_restore_state(&blender);
}

stage_rect debug_overlay_bounds()
{
    const int line_height = fallback_font ? al_get_font_line_height(fallback_font) : 25;
    return {0, 0, screen_width, 30 + 25 * 3 + line_height + 2};
}

bool debug_overlay_outdated()
{
    return debug_overlay && debug_overlay_lines() != drawn_lines;
}
