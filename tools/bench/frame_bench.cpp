// Frame cost at the worst load: all 128 tokens filled with a mix of the four elements, so every column the
// play line crosses sounds and bursts. Runs the real start-up and the real tick (update and draw into the
// window) paced at 60 Hz, and prints the per-tick cost against the 16.7 ms budget. Run it under a display
// (Xvfb) from the repository root, with a sound device (ALSOFT_DRIVERS=null will do).
//   frame_bench [--overlay] [seconds] [exec-time]
//     --overlay: with the debug overlay on, as F1 shows it; exec-time: `date +%s.%N` taken just before starting
//     it, to report the time from exec to the first frame.
#include "app/app.h"
#include "app/command_line.h"
#include "instrument/element_menu.h"
#include "instrument/instrument.h"
#include "instrument/token.h"
#include "scene/debug_overlay.h"
#include "scene/object.h"

#include "resident_memory.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

static double wall_clock_seconds()
{
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count();
}

// Processor time of the whole process (the rasterizer's threads too), which other programs on the machine
// disturb less than the wall clock.
static double process_seconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

static void fill_every_token(instrument_class& instrument)
{
    for (int cell = 0; cell < step_cells; ++cell) {
        select_element(instrument, cell % 4 + 1);
        instrument.model.place(cell, instrument.current_element);
    }
}

static double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(p * (values.size() - 1))];
}

int main(int argc, char** argv)
{
    const bool overlay = argc > 1 && std::string(argv[1]) == "--overlay";
    if (overlay)
        --argc, ++argv;
    const double seconds = argc > 1 ? std::atof(argv[1]) : 20.0;
    const auto program = std::make_unique<program_class>();
    if (!start_program(*program, command_line_class()))
        return 1;
    run_tick(*program);
    if (argc > 2)
        std::printf("start-up: %.1f ms from exec to the first frame\n",
                    (wall_clock_seconds() - std::atof(argv[2])) * 1000.0);

    fill_every_token(*program->instrument);
    debug_overlay = overlay;
    const double tick = 1.0 / 60.0;
    const int warm_up = 120;
    std::vector<double> costs, update_costs;
    std::size_t most_objects = 0;
    double next = al_get_time();
    double cpu_at_start = 0;
    for (int i = 0; i < warm_up + static_cast<int>(seconds * 60); ++i) {
        if (i == warm_up)
            cpu_at_start = process_seconds();
        const double start = al_get_time();
        update_tick(*program);
        const double updated = al_get_time();
        draw_tick(*program);
        if (i >= warm_up) {
            costs.push_back((al_get_time() - start) * 1000.0);
            update_costs.push_back((updated - start) * 1000.0);
            most_objects = std::max(most_objects, objects_bin.size());
        }
        next += tick;
        const double wait = next - al_get_time();
        if (wait > 0)
            al_rest(wait);
    }
    std::printf("frame cost over %zu ticks: median %.3f ms, 99th percentile %.3f ms, worst %.3f ms "
                "(budget 16.667 ms); up to %zu objects in the bin\n",
                costs.size(), percentile(costs, 0.5), percentile(costs, 0.99),
                *std::max_element(costs.begin(), costs.end()), most_objects);
    std::printf("processor time of the whole process: %.3f ms a tick\n",
                (process_seconds() - cpu_at_start) * 1000.0 / static_cast<double>(costs.size()));
    std::printf("of which the update (input, tweens, instrument): median %.3f ms, 99th percentile %.3f ms; "
                "the rest is drawing and presenting\n",
                percentile(update_costs, 0.5), percentile(update_costs, 0.99));
    std::printf("resident memory at the end: %ld KiB\n", resident_kib());
    end_program(*program);
    return 0;
}
