#include "instrument/notice.h"

#include "core/screen.h"
#include "instrument/instrument.h"
#include "resources/bins.h"

#include <cstdio>

void show_notice(instrument_class& instrument, const std::string& text)
{
    text_label_class& notice = instrument.notice;
    notice.show(fonts_bin.default_font_file, fonts_bin.default_font_size, text);
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
