#include "instrument/pattern_view.h"

#include "audio/link_follower.h"
#include "audio/mixer.h"
#include "instrument/instrument.h"
#include "instrument/notice.h"
#include "instrument/timing_readout.h"
#include "math/clock.h"

void follow_pattern(instrument_class& instrument)
{
    const pattern_changes changes = instrument.model.take_changes();
    const pattern_class& pattern = instrument.model.pattern();
    if (changes.any()) {
        for (int cell = 0; cell < step_cells; ++cell)
            if (changes.cells[cell])
                instrument.token_grid[cell]->show(static_cast<element_id>(pattern.cells[cell]), instrument.grid_shown);
        for (const element_info& info : elements)
            element_button(instrument, info.id)->show_count(instrument.model.remaining(info.id));
        instrument.mixer.pattern.write(pattern);
        // An opened pattern's tempo, or one undone, goes to a Link session as the keys' do.
        if (changes.tempo && instrument.link)
            instrument.link->ask_tempo(pattern.tempo);
        if (changes.tempo || changes.swing)
            show_timing(instrument);
    }
    if (!instrument.autosave)
        return;
    instrument.autosave->update(pattern, current_time());
    const std::string error = instrument.autosave->take_error();
    if (!error.empty())
        report_problem(instrument, error);
}
