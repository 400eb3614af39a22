#include "audio_fixture.h"

#include "audio/offline_render.h"

#include <algorithm>
#include <memory>

namespace {

constexpr int earth = 1, wind = 2;

class mixer_test : public ::testing::Test
{
public:
    std::unique_ptr<mixer_class> mixer = std::make_unique<mixer_class>();
    test_sound click{100, 0.0f};

    void SetUp() override
    {
        mixer->schedule.emplace(grid_schedule());
        mixer->notes[earth].fill({click.sound, gains_for(0.8f, 0.0f, 1)});
        mixer->notes[wind].fill({click.sound, gains_for(0.7f, 0.5f, 1)});
    }

    void publish(const step_grid& cells) { mixer->pattern.write(pattern_class{cells}); }

    // Renders up to frame `end` in buffers of `size` frames.
    std::vector<float> render(std::uint64_t end, unsigned size)
    {
        std::vector<float> out;
        while (mixer->frame < end)
            render_offline(*mixer, std::min<std::uint64_t>(end, mixer->frame + size), out);
        return out;
    }

    // Frames from `first` on where the left channel jumps up (a sound starts).
    static std::vector<std::uint64_t> starts(const std::vector<float>& out, std::uint64_t first = 0)
    {
        std::vector<std::uint64_t> found;
        for (std::size_t i = 2; i < out.size(); i += 2)
            if (out[i] - out[i - 2] > 0.1f)
                found.push_back(first + i / 2);
        return found;
    }
};

// Row 0's earth is a long tone, so the last column's still sounds well into the next sweep. A token placed
// while a buffer is pending sounds at its own frame inside that buffer; a cleared grid stops starting notes
// while the one already playing goes on.
TEST_F(mixer_test, every_note_starts_on_its_frame_at_its_gains_and_pan_is_reported_rings_on_and_follows_the_grid)
{
    const test_sound long_tone{mixer_class::desktop_rate * 13 / 10, 0.5f};
    mixer->notes[earth][note_of_row(0)] = {long_tone.sound, gains_for(0.8f, 0.0f, 1)};
    step_grid cells{};
    cells[cell_index(3, 2)] = earth;
    cells[cell_index(9, 5)] = wind;
    cells[cell_index(15, 0)] = earth;
    publish(cells);
    const note_schedule_class& schedule = *mixer->schedule;
    std::vector<float> out = render(schedule.frame_at(step_columns) + 20000, 1000);
    const std::vector<std::uint64_t> expected = {schedule.frame_of(0, 3), schedule.frame_of(0, 9),
                                                 schedule.frame_of(0, 15)};
    EXPECT_EQ(starts(out), expected);
    // A centred mono sound lands at half its level on each side; half right puts the right at 1.73 x the left.
    const float full = 32767 / 32767.5f;
    EXPECT_FLOAT_EQ(out[2 * expected[0]], 0.8f * 0.5f * full);
    EXPECT_FLOAT_EQ(out[2 * expected[0] + 1], 0.8f * 0.5f * full);
    EXPECT_NEAR(out[2 * expected[1] + 1] / out[2 * expected[1]], std::sqrt(3.0f), 1e-4);
    EXPECT_NEAR(out[2 * expected[1]], 0.7f * 0.5f * 0.70710678f * full, 1e-6);
    EXPECT_GT(out[2 * (schedule.frame_at(step_columns) + 19999)], 0.1f);
    std::vector<std::uint64_t> reported;
    note_event event;
    while (mixer->events.pop(event))
        reported.push_back(event.frame);
    EXPECT_EQ(reported, expected);
    EXPECT_TRUE(event.cell == cell_index(15, 0) && event.element == earth);

    cells[cell_index(5, 4)] = earth;
    publish(cells);
    const std::uint64_t from = mixer->frame;
    out = render(schedule.frame_of(1, 15) + 1000, 1u << 20);
    EXPECT_EQ(starts(out, from), (std::vector<std::uint64_t>{schedule.frame_of(1, 3), schedule.frame_of(1, 5),
                                                              schedule.frame_of(1, 9), schedule.frame_of(1, 15)}));
    publish(step_grid{});
    const std::uint64_t cleared = mixer->frame;
    out = render(schedule.frame_of(2, 15) + 1000, 4096);
    EXPECT_TRUE(starts(out, cleared).empty());
    EXPECT_GT(out[0], 0.1f);
}

TEST_F(mixer_test, the_limiter_leaves_quiet_sound_alone_and_the_fullest_grid_never_reaches_full_scale)
{
    for (float quiet : {0.0f, 0.3f, -0.6f, 0.9f})
        EXPECT_EQ(soft_limit(quiet), quiet);
    for (float loud = 0.9f; loud < 20.0f; loud += 0.05f) {
        EXPECT_LT(soft_limit(loud), 1.0f);
        EXPECT_GT(soft_limit(loud + 0.05f), soft_limit(loud)) << "not rising at " << loud;
        EXPECT_EQ(soft_limit(-loud), -soft_limit(loud));
    }

    // Every cell filled, every tail overlapping the next columns': the sum would pass full scale many times.
    const test_sound loud{mixer_class::desktop_rate * 14 / 10, 0.9f};
    step_grid cells{};
    for (int cell = 0; cell < step_cells; ++cell) {
        cells[cell] = static_cast<std::uint8_t>(1 + cell % 4);
        mixer->notes[1 + cell % 4].fill({loud.sound, gains_for(0.8f, 0.0f, 1)});
    }
    publish(cells);
    const std::vector<float> out = render(mixer->schedule->frame_at(3 * step_columns), 1024);
    const float peak = *std::max_element(out.begin(), out.end());
    EXPECT_LT(peak, 1.0f);
    EXPECT_GT(peak, 0.95f);
}

// The queues between the frame loop and the audio thread keep their order however often they wrap, and a
// full one refuses rather than overwrites.
TEST(ring_buffer, passes_items_in_order_around_and_around_and_refuses_when_full)
{
    ring_buffer_class<int, 4> queue;
    int item = 0;
    for (int i = 0; i < 10; ++i) {
        ASSERT_TRUE(queue.push(i) && queue.push(-i));
        ASSERT_TRUE(queue.pop(item) && item == i && queue.pop(item) && item == -i);
    }
    EXPECT_TRUE(queue.push(1) && queue.push(2) && queue.push(3));
    EXPECT_FALSE(queue.push(4));
    EXPECT_TRUE(queue.pop(item) && item == 1);
}

} // namespace
