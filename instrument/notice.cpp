#include "instrument/notice.h"

#include "core/screen.h"
#include "instrument/instrument.h"
#include "resources/bins.h"

#include <allegro5/allegro_font.h>

#include <cstdio>

// Room left at either side of the stage.
constexpr int notice_margin = 16;

// Whether byte i of a UTF-8 text continues a character rather than starting one.
static bool continues(const std::string& text, std::size_t i)
{
    return i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
}

// A line wider than the stage loses the middle of its text, where a long path's folders are: its start says
// what happened and its end why. Cut between whole characters.
static std::string fitted(const std::string& text, const ALLEGRO_FONT* font, int room)
{
    std::string line = text;
    for (std::size_t kept = text.size(); kept > 0 && al_get_text_width(font, line.c_str()) > room; --kept) {
        std::size_t front = kept / 2, back = text.size() - (kept - front);
        while (continues(text, front))
            --front;
        while (continues(text, back))
            ++back;
        line = text.substr(0, front) + "..." + text.substr(back);
    }
    return line;
}

void show_notice(instrument_class& instrument, const std::string& text)
{
    text_label_class& notice = instrument.notice;
    const ALLEGRO_FONT* font = fonts_bin.get_font(fonts_bin.default_font_file, fonts_bin.default_font_size);
    notice.show(fonts_bin.default_font_file, fonts_bin.default_font_size,
                font ? fitted(text, font, screen_width - 2 * notice_margin) : text);
    notice.move_to(static_cast<float>(screen_width / 2), 18.0f);
    notice.set_anchor(0.5f, 0.0f);
    notice.blend_mode = blend_additive;
    notice.z_anim.set(30.0f);
    notice.clear_animations();
    notice.opacity_anim.set(1.0f);
    notice.opacity_anim.animate(1.0f, 0.0f, 4.0, 1.0, curve_ease_in);
}

void report_problem(instrument_class& instrument, const std::string& text)
{
    std::fprintf(stderr, "tolme: %s\n", text.c_str());
    show_notice(instrument, text);
}
