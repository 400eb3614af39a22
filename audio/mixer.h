// The instrument's own mixer, and with it the play line's clock: whoever pulls frames from it (the sound
// device, a silent stand-in while there is none, or an offline render) moves time on. Every note starts at
// the exact frame at which the line reaches it, from a snapshot of the pattern that the frame loop
// publishes; a new tempo or swing in it takes effect at the first frame of the next buffer. Sounds asked
// for by name start with the next buffer. The sum goes through a soft limiter.
// render() runs on the audio thread: it never allocates, locks or touches a file.
#pragma once

#include "audio/link_follower.h"
#include "audio/note_schedule.h"
#include "audio/pattern.h"
#include "audio/ring_buffer.h"
#include "audio/snapshot_buffer.h"
#include "audio/sound.h"
#include "audio/sound_conversion.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>

// How loud a sound plays in each output channel: its gain, its pan and, for a mono sound, its split over two
// channels, as Allegro's own mixer does it (pan 0.5 puts the right channel at 1.73 times the left).
class channel_gains
{
public:
    float left = 0;
    float right = 0;
};
channel_gains gains_for(float gain, float pan, int channels);

class voiced_sound
{
public:
    sound_class sound;
    channel_gains gains;
};

// A note the mixer started: the line's frame, the cell it sounds for and the element it played.
class note_event
{
public:
    std::uint64_t frame = 0;
    std::uint8_t cell = 0;
    std::uint8_t element = 0;
};

// Transparent up to the knee (0.9), then bending smoothly towards full scale, which it reaches only for sums
// a million times louder.
float soft_limit(float sample);

class mixer_class
{
public:
    // The rate of the desktop's sound device and of exports.
    static constexpr unsigned desktop_rate = 44100;
    static constexpr int voice_count = 256;
    static constexpr int sound_sets = 5; // by element id; set 0 is silence

    // Frames a second, fixed for the mixer's life: every sound it plays is converted to it first.
    const unsigned rate;

    explicit mixer_class(unsigned rate = desktop_rate) : rate(rate), conversion(rate) {}

    // Filled before rendering starts (with sounds at the mixer's rate), then only read.
    std::array<std::array<voiced_sound, step_rows>, sound_sets> notes{};
    std::optional<note_schedule_class> schedule;

    snapshot_buffer_class<pattern_class> pattern;  // written by the frame loop
    ring_buffer_class<voiced_sound, 64> requests;  // sounds to start with the next buffer
    ring_buffer_class<note_event, 4096> events;    // every note started, for the frame loop's pulses
    std::uint64_t frame = 0; // the next frame to render; belongs to the thread that renders
    // Whether the pattern's tempo drives the line; false while it follows another machine's clock, which
    // steers the schedule itself. Set before rendering starts.
    bool tempo_from_pattern = true;
    // Set before rendering starts: a Link session to play along with while it is on, which then leads the
    // line and its tempo.
    link_follower_class* link = nullptr;
    // The player's stop (the frame loop's): the line holds from the next buffer and, asked to play again,
    // starts from column 0's notes (at once, or on the session's next bar while Link leads).
    std::atomic<bool> stop_asked{false};
    // The notes the last render started, in order, for whoever sends them on (MIDI); belongs to the thread
    // that renders. Notes beyond a sweep's worth in one render are counted, not kept.
    std::array<note_event, 2 * step_cells> started{};
    unsigned started_count = 0;
    unsigned dropped_notes = 0;

    // Silences every voice, forgets what was asked and told, and starts time again at frame 0; only while
    // nothing renders.
    void reset();
    // Adds the next count frames of interleaved stereo into out, limits the sum and moves time on.
    void render(float* out, unsigned count);
    // Frame loop side: plays a sound from the next buffer on.
    void play(const voiced_sound& sound);
    // Frame loop side (or before rendering starts): the sound converted to the mixer's rate.
    voiced_sound at_rate(const voiced_sound& sound);
    // Whether any sound is still playing.
    bool sounding() const;

private:
    sound_conversion_class conversion;

    class voice_class
    {
    public:
        voiced_sound sound;
        std::uint64_t start = 0;    // the output frame of the sound's first frame
        std::uint64_t position = 0; // in the sound's frames, 32.32 fixed point
        std::uint64_t step = 0;
        bool active = false;
    };
    std::array<voice_class, voice_count> voices{};

    void start(const voiced_sound& sound, std::uint64_t at);
    void start_column(const step_grid& cells, int column, std::uint64_t at);
    void mix(voice_class& voice, float* out, unsigned count);

    // The rendering thread's: the player's stop as last seen, and whether Link led the last buffer.
    bool line_stopped = false;
    bool was_guided = false;
    void follow_player(bool guided);
};

