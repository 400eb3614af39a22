// The mixer at the worst load: all 128 tokens filled, the four elements in turn, so every column sounds
// eight notes and every tail overlaps the next columns'. Renders a minute of it as the sound device would
// pull it (1024 frames at a time) and prints the cost as a share of one core; then renders a four-sweep
// pattern offline, as an export does, and prints how many times faster than real time that ran.
// Run from the repository root (it loads data/).
#include "audio/mixer.h"
#include "instrument/note_playing.h"
#include "instrument/note_sounds.h"

#include <allegro5/allegro.h>
#include <allegro5/allegro_acodec.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

static double seconds_since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

int main()
{
    setenv("ALSOFT_DRIVERS", "null", 0); // samples load only once audio was installed; no device is needed
    al_install_system(ALLEGRO_VERSION_INT, nullptr);
    al_install_audio();
    al_init_acodec_addon();
    auto sounds = std::make_unique<note_sounds_class>();
    sounds->load();

    pattern_class full;
    for (int cell = 0; cell < step_cells; ++cell)
        full.cells[cell] = static_cast<std::uint8_t>(1 + cell % 4);
    auto mixer = std::make_unique<mixer_class>();
    configure_mixer(*mixer, *sounds, note_placement::token);
    mixer->pattern.write(full);
    const double audio_seconds = 60.0;
    std::vector<float> buffer(2 * 1024);
    float peak = 0;
    const auto started = std::chrono::steady_clock::now();
    while (mixer->frame < audio_seconds * mixer_class::desktop_rate) {
        std::fill(buffer.begin(), buffer.end(), 0.0f);
        mixer->render(buffer.data(), 1024);
        for (float v : buffer)
            peak = std::max(peak, std::fabs(v));
    }
    const double spent = seconds_since(started);
    std::printf("mixer at the worst load: %.2f ms per second of audio, %.2f %% of one core; peak %.3f of full "
                "scale\n",
                spent * 1000.0 / audio_seconds, 100.0 * spent / audio_seconds, peak);

    const auto export_started = std::chrono::steady_clock::now();
    const std::vector<float> rendered = render_pattern(*sounds, full, 4, note_placement::beat);
    const double export_spent = seconds_since(export_started);
    const double rendered_seconds = double(rendered.size() / 2) / mixer_class::desktop_rate;
    std::printf("offline rendering of four sweeps of it with the tails: %.2f s of audio in %.1f ms, %.0f x real "
                "time\n",
                rendered_seconds, export_spent * 1000.0, rendered_seconds / export_spent);
    sounds.reset();
    al_uninstall_system();
    return 0;
}
