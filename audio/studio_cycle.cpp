#include "audio/studio_cycle.h"

#include <algorithm>
#include <cassert>
#include <cmath>

// A line more than this far from where the other machine says it is jumps there rather than being steered.
static constexpr double jump_columns = 0.5;

double transport_columns(const transport_position& position)
{
    const double beats = (position.bar - 1) * position.beats_per_bar + (position.beat - 1) +
                         position.tick / position.ticks_per_beat;
    return 0.5 + beats * step_columns / 4;
}

// A position within any real song's length (none where a master gives no ticks a beat) at a tempo the line
// can follow. A timebase master that gives any other is broken: its clock is not followed.
static bool usable(const transport_position& position)
{
    constexpr double longest_song_columns = 1e10;
    return std::fabs(transport_columns(position)) < longest_song_columns && followable(position.bpm); // not NaN
}

studio_cycle_class::studio_cycle_class(mixer_class& mixer, sync_source sync)
    : sync(sync), mixer(mixer), follower(mixer.rate)
{
}

void studio_cycle_class::prepare()
{
    assert(mixer.schedule && "the mixer has its schedule");
    mixer.tempo_from_pattern = sync == sync_source::internal;
    last_heard = mixer.frame;
    if (sync != sync_source::internal) {
        schedule().hold(mixer.frame);
        state = static_cast<int>(follow_state::stopped);
    }
    line_held = schedule().held();
}

void studio_cycle_class::publish(follow_state now, double bpm) noexcept
{
    state.store(static_cast<int>(now), std::memory_order_relaxed);
    followed_bpm.store(bpm, std::memory_order_relaxed);
}

void studio_cycle_class::stop(std::uint64_t frame, follow_state why) noexcept
{
    if (!schedule().held())
        schedule().hold(frame);
    end_notes_on_hold();
    publish(why, followed_bpm.load(std::memory_order_relaxed));
}

// However the line came to hold (the other machine, the player's stop, a Link session), every note ends and
// Stop goes out where it did.
void studio_cycle_class::end_notes_on_hold() noexcept
{
    const bool held = schedule().held();
    if (held && !line_held) {
        midi.all_notes_off(schedule().held_since());
        if (sync != sync_source::midi_clock) // it sends no clock of its own
            midi.realtime(schedule().held_since(), midi_status::stop);
    }
    line_held = held;
}

// The line at a position from this frame on, at the tempo: steered when it is near, else put there. A MIDI
// clock only counts on: a line that ran ahead of one that paused waits for it, held, rather than play again
// what it played, and goes on when the clock reaches it.
void studio_cycle_class::place(std::uint64_t frame, double columns, double bpm) noexcept
{
    const tempo_class tempo = tempo_near(bpm);
    const double here = schedule().columns_at(frame);
    const bool by_count = sync == sync_source::midi_clock;
    if (by_count && columns < here - (schedule().held() ? 0.0 : jump_columns)) {
        if (!schedule().held())
            schedule().hold(frame);
    } else if (std::fabs(here - columns) > jump_columns || (schedule().held() && !by_count)) {
        schedule().locate(frame, columns);
        schedule().set_timing(frame, tempo, schedule().swing());
    } else {
        if (schedule().held())
            schedule().resume(frame);
        schedule().steer(frame, columns, tempo);
    }
    publish(follow_state::following, bpm);
}

void studio_cycle_class::begin(std::uint64_t frame, const transport_position& transport, bool clock_comes) noexcept
{
    if (finishing.load(std::memory_order_acquire) && !finished.load(std::memory_order_relaxed)) {
        stop(frame, follow_state::stopped);
        finished.store(true, std::memory_order_release);
    }
    // A cleared grid ends its notes at once rather than a column later.
    const step_grid& cells = mixer.pattern.read().cells;
    const bool has_notes = std::any_of(cells.begin(), cells.end(), [](std::uint8_t cell) { return cell != 0; });
    if (grid_had_notes && !has_notes)
        midi.all_notes_off(frame);
    grid_had_notes = has_notes;
    // Once finished, the line stays where it stopped, whatever the other machine does.
    if (finished.load(std::memory_order_relaxed))
        return;
    if (sync == sync_source::jack_transport)
        follow_transport(frame, transport);
    if (sync != sync_source::internal && !stopped_by_master &&
        frame - last_heard >= clock_patience_seconds * mixer.rate) {
        follower.forget();
        running = false;
        stop(frame, follow_state::no_clock);
    }
    // A MIDI clock that pauses without a Stop: the line stops two clocks on rather than run on without it.
    // Not while clocks come in this cycle: a bridge may give them all at its start, long cycles apart.
    if (running && !clock_comes && follower.locked() && !schedule().held() &&
        frame > last_heard + 2 * follower.period())
        schedule().hold(frame);
    if (sync == sync_source::internal)
        publish(follow_state::leading, schedule().tempo().bpm());
}

void studio_cycle_class::render(std::uint64_t from, std::uint64_t to, float* left, float* right) noexcept
{
    const unsigned most = static_cast<unsigned>(scratch.size() / 2);
    while (from < to) {
        const unsigned count = static_cast<unsigned>(std::min<std::uint64_t>(most, to - from));
        std::fill(scratch.begin(), scratch.begin() + 2 * count, 0.0f);
        mixer.render(scratch.data(), count);
        for (unsigned i = 0; i < count; ++i) {
            *left++ = scratch[2 * i];
            *right++ = scratch[2 * i + 1];
        }
        if (!finished.load(std::memory_order_relaxed))
            for (unsigned i = 0; i < mixer.started_count; ++i)
                midi.note(mixer.started[i], schedule().column_after(mixer.started[i].frame));
        end_notes_on_hold();
        // A line that follows a MIDI clock does not echo it, which could loop back to its source.
        if (sync != sync_source::midi_clock)
            schedule().for_each_clock(from, from + count, [&](std::uint64_t at, std::int64_t clock) {
                if (clock == 0) {
                    listener_joined.store(false, std::memory_order_relaxed);
                    midi.realtime(at, midi_status::start);
                } else if (clock > 0 && clock % clocks_per_column == 0 &&
                           listener_joined.exchange(false, std::memory_order_relaxed)) {
                    midi.song_position(at, static_cast<unsigned>(clock / clocks_per_column % (1 << 14)));
                    midi.realtime(at, midi_status::resume);
                }
                midi.realtime(at, midi_status::clock);
            });
        from += count;
    }
}

void studio_cycle_class::take(std::uint64_t frame, const std::array<std::uint8_t, 3>& bytes) noexcept
{
    if (sync != sync_source::midi_clock || finished.load(std::memory_order_relaxed))
        return;
    switch (bytes[0]) {
    case midi_status::clock:
        last_heard = frame;
        // Heard again after it was lost: the line waits for Start or Continue.
        if (state.load(std::memory_order_relaxed) == static_cast<int>(follow_state::no_clock))
            publish(follow_state::stopped, followed_bpm.load(std::memory_order_relaxed));
        follower.clock(frame);
        follow_clock(frame);
        song_clocks += running ? 1 : 0;
        break;
    case midi_status::start:
        song_clocks = 0;
        [[fallthrough]];
    case midi_status::resume:
        stopped_by_master = false;
        start_due = true;
        break;
    case midi_status::stop:
        stop(frame, follow_state::stopped);
        stopped_by_master = true;
        start_due = false;
        running = false;
        break;
    case midi_status::song_position:
        song_clocks = static_cast<std::uint64_t>(bytes[1] | bytes[2] << 7) * clocks_per_column; // in sixteenths
        break;
    default:
        break;
    }
}

// The first clock after Start (or Continue) puts the line on its place; each clock after it steers the line
// to where the smoothed clock says it is.
void studio_cycle_class::follow_clock(std::uint64_t frame) noexcept
{
    const double bpm = follower.locked() ? follower.bpm() : schedule().tempo().bpm();
    if (start_due) {
        start_due = false;
        running = true;
        base_clocks = static_cast<double>(follower.clocks() - 1);
        base_columns = 0.5 + static_cast<double>(song_clocks) / clocks_per_column;
        schedule().locate(frame, base_columns);
        schedule().set_timing(frame, tempo_near(bpm), schedule().swing());
        publish(follow_state::following, bpm);
    } else if (running && follower.locked()) {
        const double clocks = follower.clocks_at(frame) - base_clocks;
        place(frame, base_columns + clocks / clocks_per_column, bpm);
    }
}

void studio_cycle_class::follow_transport(std::uint64_t frame, const transport_position& transport) noexcept
{
    if (transport.rolling && transport.has_bar_beat && usable(transport)) {
        last_heard = rolled = frame;
        place(frame, transport_columns(transport), transport.bpm);
        return;
    }
    // A stopped transport is heard; one rolling with no timebase master, or a broken one, gives no clock.
    if (!transport.rolling)
        last_heard = frame;
    // A locate while rolling is no stop: the line runs on until the transport rolls from its new place, unless
    // that takes long (clients that are slow to follow it).
    if (!transport.starting || frame - rolled > locate_patience_seconds * mixer.rate)
        stop(frame, follow_state::stopped);
}
