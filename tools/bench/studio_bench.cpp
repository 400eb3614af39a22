// Playing with others, measured without a server: the notes' conversion to 48 kHz, the studio cycle (what JACK's process callback runs) at
// the worst load, all 128 tokens filled, at 48 kHz in cycles of 256 frames with its MIDI written out,
// timed cycle by cycle over a minute of audio; then the line following a MIDI clock at 97.3 BPM whose every
// tick comes up to half a millisecond early or late: how soon its notes settle on the clock's beat grid and
// how far they stray from it after that. Run from the repository root (it loads data/).
#include "audio/studio_cycle.h"
#include "instrument/midi_file.h"
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
#include <random>
#include <vector>

namespace {

constexpr unsigned rate = 48000, period = 256;

std::unique_ptr<mixer_class> studio_mixer(const note_sounds_class& sounds, const pattern_class& pattern)
{
    auto mixer = std::make_unique<mixer_class>(rate);
    configure_mixer(*mixer, sounds, note_placement::beat);
    mixer->schedule->locate(0, 0.5);
    mixer->pattern.write(pattern);
    return mixer;
}

void callback_cost(const note_sounds_class& sounds)
{
    pattern_class full;
    for (int cell = 0; cell < step_cells; ++cell)
        full.cells[cell] = static_cast<std::uint8_t>(1 + cell % 4);
    const auto converting = std::chrono::steady_clock::now();
    const auto mixer = studio_mixer(sounds, full);
    std::printf("the 32 notes converted to %u Hz in %.0f ms\n", rate,
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - converting).count());
    studio_cycle_class cycle(*mixer, sync_source::internal);
    configure_midi_out(cycle.midi);
    cycle.prepare();
    std::vector<float> left(period), right(period);
    std::vector<double> costs;
    unsigned messages = 0;
    while (mixer->frame < 60 * rate) {
        const auto started = std::chrono::steady_clock::now();
        cycle.run(left.data(), right.data(), period, nullptr, 0, {},
                  [&](std::uint32_t, const std::uint8_t*, std::uint8_t) { ++messages; });
        costs.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - started).count());
    }
    std::sort(costs.begin(), costs.end());
    double total = 0;
    for (double cost : costs)
        total += cost;
    const double budget = 1e6 * period / rate;
    std::printf("studio cycle at the worst load, %u frames at %u Hz (budget %.0f us): mean %.1f us, median %.1f, "
                "99th percentile %.1f, worst %.1f (%.1f %% of the budget); %u MIDI messages a minute\n",
                period, rate, budget, total / costs.size(), costs[costs.size() / 2], costs[costs.size() * 99 / 100],
                costs.back(), 100 * costs.back() / budget, messages);
}

void following(const note_sounds_class& sounds)
{
    pattern_class beats;
    for (int column = 0; column < step_columns; column += 2)
        beats.cells[cell_index(column, 7)] = 1;
    const auto mixer = studio_mixer(sounds, beats);
    studio_cycle_class cycle(*mixer, sync_source::midi_clock);
    configure_midi_out(cycle.midi);
    cycle.prepare();
    const double clock = 60.0 * rate / (24 * 97.3), start = 4800;
    std::mt19937 random(1);
    std::uniform_real_distribution<double> jitter(-0.0005 * rate, 0.0005 * rate);
    std::vector<std::uint64_t> ticks;
    for (int k = 0; k < 24 * 97; ++k) // a minute
        ticks.push_back(static_cast<std::uint64_t>(std::llround(start + k * clock + jitter(random))));
    std::vector<float> left(period), right(period);
    std::vector<std::pair<double, double>> notes; // seconds after Start, frames off the clock's grid
    std::size_t next = 0;
    bool started = false;
    while (mixer->frame < ticks.back()) {
        const std::uint64_t first = mixer->frame;
        std::vector<incoming_midi> in;
        if (!started && first + period > start - 10)
            in.push_back({static_cast<std::uint32_t>(start - 10 - first), {0xfa, 0, 0}}), started = true;
        for (; next < ticks.size() && ticks[next] < first + period; ++next)
            in.push_back({static_cast<std::uint32_t>(ticks[next] - first), {0xf8, 0, 0}});
        cycle.run(left.data(), right.data(), period, in.data(), static_cast<unsigned>(in.size()), {},
                  [&](std::uint32_t offset, const std::uint8_t* bytes, std::uint8_t) {
                      if ((bytes[0] & 0xf0) == 0x90) {
                          const double columns = (first + offset - start) / (clocks_per_column * clock);
                          notes.emplace_back((first + offset - start) / rate,
                                             (columns - std::round(columns)) * clocks_per_column * clock);
                      }
                  });
    }
    // Settled: from the first note on which every later one lies within a quarter of a millisecond.
    const double settled_frames = 0.00025 * rate;
    std::size_t settled = notes.size();
    while (settled > 0 && std::fabs(notes[settled - 1].second) <= settled_frames)
        --settled;
    double worst = 0, squares = 0;
    for (std::size_t i = settled; i < notes.size(); ++i) {
        worst = std::max(worst, std::fabs(notes[i].second));
        squares += notes[i].second * notes[i].second;
    }
    const double count = double(notes.size() - settled);
    std::printf("following a MIDI clock at 97.3 BPM jittering by up to 0.5 ms: notes within 0.25 ms of its grid "
                "from %.1f s on; after that %zu notes, RMS %.3f ms, worst %.3f ms; tempo read %.3f BPM\n",
                settled < notes.size() ? notes[settled].first : -1.0, notes.size() - settled,
                1000 * std::sqrt(squares / std::max(1.0, count)) / rate, 1000 * worst / rate,
                cycle.followed_bpm.load());
}

} // namespace

int main()
{
    setenv("ALSOFT_DRIVERS", "null", 0); // samples load only once audio was installed; no device is needed
    al_install_system(ALLEGRO_VERSION_INT, nullptr);
    al_install_audio();
    al_init_acodec_addon();
    {
        note_sounds_class sounds;
        sounds.load();
        callback_cost(sounds);
        following(sounds);
    }
    al_uninstall_system();
    return 0;
}
