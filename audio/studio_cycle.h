// One cycle of playing with other programs (a JACK server's process cycle, or a test's): the mixer's sound
// for the cycle's frames, every note it starts and the MIDI clock (unless it follows one) as MIDI at their
// frames, and, when the line follows another machine, the MIDI clock or the transport read at their frames
// and the line steered to them. The line sits on the beat grid: column c's notes on the bar's sixteenth c,
// the clock's every sixth tick on a column's notes, Start on column 0's. Runs on the audio thread: it never
// allocates, locks, logs or waits; what it had to drop it counts.
#pragma once

#include "audio/clock_follower.h"
#include "audio/midi_out.h"
#include "audio/mixer.h"

#include <array>
#include <atomic>
#include <cstdint>

// Whose clock the line keeps: its own (it leads), a MIDI clock on the MIDI input, or the JACK transport.
enum class sync_source
{
    internal,
    midi_clock,
    jack_transport
};

// What the line does, as the frame loop reads it.
enum class follow_state : int
{
    leading,   // its own tempo
    following, // another machine's, which is running
    stopped,   // held: the other machine stopped, or has not started
    no_clock   // held: nothing heard from it for two seconds
};

// A MIDI message that came in, at a frame offset in the cycle.
class incoming_midi
{
public:
    std::uint32_t offset = 0;
    std::array<std::uint8_t, 3> bytes{};
};

// The JACK transport as the cycle's first frame finds it.
class transport_position
{
public:
    bool rolling = false;
    bool has_bar_beat = false; // a timebase master gives bar, beat, tick and tempo
    bool starting = false;     // about to roll from a new place (JACK passes through this at each locate)
    int bar = 1;               // from 1
    int beat = 1;              // from 1
    double tick = 0;
    double ticks_per_beat = 1920;
    double beats_per_bar = 4;
    double bpm = 120;
};

// Where the line is at a transport position: four columns a beat, a bar of 4/4 a sweep, column 0's notes
// on the first beat.
double transport_columns(const transport_position& position);

class studio_cycle_class
{
public:
    static constexpr double clock_patience_seconds = 2.0;
    // How long a transport that locates while rolling may take to roll again before the line stops for it.
    static constexpr double locate_patience_seconds = 0.25;

    const sync_source sync;
    midi_out_class midi;
    // Published to the frame loop.
    std::atomic<int> state{static_cast<int>(follow_state::leading)};
    std::atomic<double> followed_bpm{0};
    // Set by the frame loop before the client closes: the next cycle sends Stop and All Notes Off, after
    // which no note sounds; then finished is set.
    std::atomic<bool> finishing{false};
    std::atomic<bool> finished{false};
    // Set when a machine connects to midi_out: it missed the Start, so the next column's clock comes with a
    // Song Position Pointer and Continue (those connected before follow on where they are).
    std::atomic<bool> listener_joined{false};

    studio_cycle_class(mixer_class& mixer, sync_source sync);
    // Before the first cycle, once the mixer has its schedule (placed on the beat): a line that follows
    // waits, held, for the other machine, and takes no tempo from the pattern.
    void prepare();

    // Renders count frames into left and right, reading the MIDI that came in during the cycle (in order of
    // offsets) and the transport, and hands the cycle's MIDI to write(offset, bytes, size) in order.
    template <typename F>
    void run(float* left, float* right, unsigned count, const incoming_midi* in, unsigned in_count,
             const transport_position& transport, F write) noexcept
    {
        const std::uint64_t first = mixer.frame;
        bool clock_comes = false;
        for (unsigned i = 0; i < in_count; ++i)
            clock_comes = clock_comes || in[i].bytes[0] == midi_status::clock;
        begin(first, transport, clock_comes);
        std::uint64_t at = first;
        for (unsigned i = 0; i < in_count; ++i) {
            const std::uint64_t due = first + std::min(in[i].offset, count);
            render(at, due, left + (at - first), right + (at - first));
            at = due;
            take(due, in[i].bytes);
        }
        render(at, first + count, left + (at - first), right + (at - first));
        midi.flush(first + count, [&](std::uint64_t frame, const std::uint8_t* bytes, std::uint8_t size) {
            write(static_cast<std::uint32_t>(frame - first), bytes, size);
        });
    }

private:
    mixer_class& mixer;
    clock_follower_class follower;
    std::array<float, 2 * 1024> scratch{};
    bool grid_had_notes = false;
    bool line_held = false; // as the last render left it
    std::uint64_t last_heard = 0; // the last frame at which the other machine's clock was heard
    std::uint64_t rolled = 0;     // the last frame at which the transport rolled
    bool stopped_by_master = false; // a MIDI Stop came: no clock is expected until Start or Continue
    // MIDI clock: Start or Continue came and the next clock puts the line at the song position.
    bool start_due = false;
    bool running = false;          // from that clock to Stop (or the clock's loss): clocks move the song on
    std::uint64_t song_clocks = 0; // the other machine's song position in clocks, where Continue goes on
    double base_clocks = 0;        // the follower's count at the line's start
    double base_columns = 0;

    note_schedule_class& schedule() noexcept { return *mixer.schedule; }
    void begin(std::uint64_t frame, const transport_position& transport, bool clock_comes) noexcept;
    void render(std::uint64_t from, std::uint64_t to, float* left, float* right) noexcept;
    void take(std::uint64_t frame, const std::array<std::uint8_t, 3>& bytes) noexcept;
    void follow_clock(std::uint64_t frame) noexcept;
    void follow_transport(std::uint64_t frame, const transport_position& transport) noexcept;
    void place(std::uint64_t frame, double columns, double bpm) noexcept;
    void stop(std::uint64_t frame, follow_state why) noexcept;
    void end_notes_on_hold() noexcept;
    void publish(follow_state now, double bpm) noexcept;
};
