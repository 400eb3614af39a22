#include "audio_fixture.h"

#include "audio/link_steering.h"

#include <algorithm>

namespace {

constexpr double rate = 48000;
constexpr unsigned buffer = 256;

// A Link session as the line reads it: its beat from `beat` at time 0 at `bpm`, at `then_bpm` from `change`
// on (the beat running on unbroken), `shift` beats further from `shift_at` on (its beat re-mapped, or a heard
// time read late), stopped from `stop` until `start`. Times in seconds.
struct session_script
{
    double beat = 0, bpm = 120, change = 1e9, then_bpm = 120;
    double shift_at = 1e9, shift = 0, stop = 1e9, start = 1e9;

    double bpm_at(double t) const { return t < change ? bpm : then_bpm; }
    double beat_at(double t) const
    {
        const double beats = t < change ? t * bpm / 60 : change * bpm / 60 + (t - change) * then_bpm / 60;
        return beat + beats + (t >= shift_at ? shift : 0);
    }
    link_reading at(double t) const { return {beat_at(t), bpm_at(t), t < stop || t >= start}; }
};

struct heard_note
{
    double time; // when it is heard
    int column;
    double off;  // from its sixteenth of the session's bar, in frames
};

// The line on the beat grid at its own tempo from frame 0, steered buffer by buffer as the mixer does, each
// frame heard `latency` seconds after it is rendered.
std::vector<heard_note> play(const session_script& session, double latency, double seconds)
{
    note_schedule_class schedule = beat_schedule(static_cast<unsigned>(rate));
    schedule.locate(0, 0.5);
    link_steering_class steering(rate);
    std::vector<heard_note> notes;
    for (std::uint64_t frame = 0; frame < seconds * rate; frame += buffer) {
        for (std::uint64_t at = frame, end = frame + buffer; at < end;) {
            const std::uint64_t until = steering.steer(schedule, at, end, session.at(at / rate + latency));
            schedule.for_each_note(at, until, [&](std::uint64_t note, int column) {
                const double t = note / rate + latency;
                const double beats = std::remainder(session.beat_at(t) - column / 4.0, beats_per_bar);
                notes.push_back({t, column, beats * 60 / session.bpm_at(t) * rate});
            });
            at = until;
        }
    }
    return notes;
}

// Every note the column after the one before: none lost or doubled, whatever moved the line.
void expect_each_column_once(const std::vector<heard_note>& notes, std::size_t from = 1)
{
    for (std::size_t i = from; i < notes.size(); ++i)
        ASSERT_EQ(notes[i].column, (notes[i - 1].column + 1) % step_columns) << "at " << notes[i].time << " s";
}

// The first note from which every note lies within a frame of its sixteenth.
std::size_t settled_from(const std::vector<heard_note>& notes)
{
    std::size_t first = notes.size();
    while (first > 0 && std::fabs(notes[first - 1].off) <= 1)
        --first;
    return first;
}

// Joining at `from` (heard time) waits for the session's next bar, where column 0's notes sound, then every
// column sounds on its sixteenth; until the bar the line runs on as it was, every column once, or holds while
// the session stops (and then waits for the bar after it starts again).
void expect_joined_on_next_bar(const session_script& session, double latency, double from)
{
    const std::vector<heard_note> notes = play(session, latency, 6);
    const std::size_t after =
        std::find_if(notes.begin(), notes.end(), [&](const heard_note& n) { return n.time >= from; }) - notes.begin();
    const std::size_t joined = std::max(after, settled_from(notes));
    ASSERT_LT(joined + 10, notes.size());
    EXPECT_EQ(notes[joined].column, 0);
    const double heard = from >= session.stop ? session.start : from;
    EXPECT_NEAR(session.beat_at(notes[joined].time), std::ceil((session.beat_at(heard) - 1e-3) / 4) * 4, 1e-4)
        << "the session's first bar";
    if (session.stop < 1e9)
        EXPECT_EQ(joined, after) << "nothing sounds while the session stops";
    else
        EXPECT_GT(joined, after + 2) << "the line runs on until the bar";
    expect_each_column_once(std::vector<heard_note>(notes.begin(), notes.begin() + joined));
    expect_each_column_once(notes, joined + 1);
}

TEST(link_steering, joins_on_the_sessions_next_bar_then_every_column_sounds_on_its_sixteenth_when_heard)
{
    // Latency: none, JACK's ports and cycle, a desktop device's; the session's beat when the line joins.
    const struct { double latency, beat; } cases[] = {{0, 2.3}, {768 / rate, 2.3}, {4096 / rate, 0.7},
                                                      {768 / rate, 3.9999}, {768 / rate, 4.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "latency " << c.latency << " s, beat " << c.beat);
        expect_joined_on_next_bar(session_script{c.beat}, c.latency, c.latency);
    }
}

TEST(link_steering, a_peers_tempo_change_mid_sweep_or_a_small_shift_is_steered_out_with_no_note_lost_or_doubled)
{
    // A tempo change mid-sweep, up and down, and the heard time read 4 ms late or early (a new device's lead).
    const struct { double then_bpm, shift_beats, worst_ms; } cases[] = {
        {130, 0, 0.5}, {90, 0, 0.5}, {120, 0.008, 4.1}, {120, -0.008, 4.1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.then_bpm << " BPM, shifted " << c.shift_beats << " beats");
        const std::vector<heard_note> notes = play({0, 120, 2.137, c.then_bpm, 2.137, c.shift_beats}, 768 / rate, 8);
        expect_each_column_once(notes);
        for (const heard_note& note : notes) // after the change, each within worst_ms of its sixteenth
            ASSERT_TRUE(note.time <= 2.5 || std::fabs(note.off) / rate * 1000 < c.worst_ms)
                << std::fabs(note.off) / rate * 1000 << " ms off at " << note.time << " s";
        EXPECT_LT(notes[settled_from(notes)].time, 2.137 + 6 * link_steering_class::settle_seconds)
            << "within a frame of the session again";
    }
}

TEST(link_steering, a_shift_too_large_to_steer_and_a_stop_wait_for_the_sessions_next_bar)
{
    // Shifted 1.3 beats at 2.1 s; stopped from 2.1 s to 3.3 s.
    const session_script moved{0, 120, 1e9, 120, 2.1, 1.3}, stopped{0, 120, 1e9, 120, 1e9, 0, 2.1, 3.3};
    for (const session_script& session : {moved, stopped})
        expect_joined_on_next_bar(session, 768 / rate, 2.1);
}

} // namespace
