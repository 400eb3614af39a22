// Keeps the mixer playing through Allegro: it renders inside the default mixer's post-processing, so each
// buffer the sound device takes is filled at that moment, and the device's own pulls are the play line's
// clock. A supervising thread watches the pulls. When the device stops taking audio (nothing pulled for half
// a second) or takes it far faster than real time (Allegro's PulseAudio driver spins so when its server has
// gone), the device is torn down, the mixer is run silently in real time so that the line goes on, and a
// new device is tried every 2 seconds.
#pragma once

#include "audio/mixer.h"
#include "audio/sound_output.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

// What the supervisor makes of the device's pulls: rendered frames count, refused ones too.
enum class device_health
{
    playing,
    stalled, // nothing pulled for half a second, once the device has had time to start
    racing   // more than three times real time over the last half second
};
device_health judge_device(double now, double started, double last_pull, double window_seconds,
                           double window_frames);

class audio_output_class : public sound_output_class
{
public:
    static constexpr double stall_seconds = 0.5;
    static constexpr double retry_seconds = 2.0;

    explicit audio_output_class(mixer_class& mixer) : sound_output_class(mixer.rate), mixer(mixer) {}
    ~audio_output_class() override { stop(); }

    // Installs Allegro's audio with the first driver that works, in Allegro's own order (or only the one a
    // configuration file names), remembering how far behind its pulls that driver plays.
    bool install();
    // Starts rendering into the default mixer, which al_reserve_samples made, and supervising it.
    void start();
    // Stops both; after it the mixer is no longer rendered by anyone.
    void stop();
    // Whether sound is reaching a device (false while it is replaced by silence).
    bool playing() const override { return on_device.load(); }

private:
    mixer_class& mixer;
    unsigned lead_frames = 2048;

    // Written by the device's thread, read by the supervisor.
    std::atomic<double> last_pull{0};
    std::atomic<double> pulled_frames{0};
    // The device's allowance of frames ahead of real time; touched by the device's thread only while a
    // device is attached, by the supervisor only while none is.
    double allowance = 0;
    double allowance_time = 0;

    std::thread supervisor;
    std::mutex stop_mutex;
    std::condition_variable stop_signal;
    bool stop_requested = false;
    std::atomic<bool> on_device{false};

    // Supervisor state.
    double device_started = 0;
    double window_start = 0;
    double window_pulled = 0;
    double silent_start = 0;
    std::uint64_t silent_start_frame = 0;
    double next_attempt = 0;

    static void post_process(void* buffer, unsigned int frames, void* self);
    void pull(float* buffer, unsigned frames);
    void supervise();
    void watch_device(double now);
    void lose_device(double now, const char* why);
    void keep_time_silently(double now);
    void try_device(double now);
    void prepare_device(double now);
};

