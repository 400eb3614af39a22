// Keeps the mixer playing through Allegro: it renders inside the post-processing of an Allegro mixer of its
// own, so each buffer the sound device takes is filled at that moment, and the device's own pulls are the
// play line's clock. A supervising thread watches the pulls. Play starts in silence: the mixer is run
// silently in real time, so that the line goes on, while a thread of its own opens the device, which may
// never return (a sound server that accepts a client but never readies its stream); it is never waited
// for. Once the device is open it plays. When the device stops taking audio (nothing pulled for half a
// second: a suspended sink, say) or takes it far faster than real time (Allegro's PulseAudio driver spins so
// when its server has gone), the line goes on in silence again, the device is let go by a thread of its own
// (its driver may wait on a suspended sink for as long as it stays suspended), and once it is gone a new
// device is tried every 2 seconds. The threads are named (tolme-supervise, tolme-open, tolme-device,
// tolme-let-go) so that their own use of the processor can be read.
#pragma once

#include "audio/mixer.h"
#include "audio/sound_output.h"

#include <allegro5/allegro_audio.h>

#include <array>
#include <atomic>
#include <condition_variable>
#include <memory>
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

// A device being opened by a thread that is never joined: the thread and the supervisor share this.
struct device_opening
{
    std::mutex lock;
    bool done = false;
    ALLEGRO_VOICE* voice = nullptr; // null when the open failed
};

class audio_output_class : public sound_output_class
{
public:
    static constexpr double stall_seconds = 0.5;
    static constexpr double retry_seconds = 2.0;
    // After this long without a device since the start, the player is told that sound has not come yet.
    static constexpr double late_seconds = 3.0;

    // The device's pulls come a few milliseconds early or late: the heard times that steer the line to a
    // Link session are smoothed over a second.
    explicit audio_output_class(mixer_class& mixer) : sound_output_class(mixer.rate, 1.0), mixer(mixer) {}
    ~audio_output_class() override { stop(); }

    // Installs Allegro's audio with the first driver that works, in Allegro's own order (or only the one a
    // configuration file names), remembering how far behind its pulls that driver plays. Opens no device.
    bool install();
    // Makes the Allegro mixer that the next device will pull; false when Allegro cannot.
    bool create_device_mixer();
    // Starts the line in silence, the device's opening and the supervision.
    void start();
    // Stops the supervision and the rendering; after it the mixer is no longer rendered by anyone. Never
    // waits for a device that is still opening, and at most a second for devices being let go: false when
    // one is still held up, which Allegro's own teardown at exit would wait for without end.
    bool stop();
    // Whether sound is reaching a device (false while it is replaced by silence).
    bool playing() const override { return on_device.load(); }
    // Whether it was started late_seconds or more ago and no device has played since.
    bool late(double now) const override
    {
        return supervisor.joinable() && !ever_on_device.load() && now - started_at >= late_seconds;
    }

private:
    mixer_class& mixer;
    unsigned lead_frames = 2048;
    // The device playing, and the mixer it pulls (one a device: a device held up keeps its own).
    ALLEGRO_VOICE* voice = nullptr;
    ALLEGRO_MIXER* device_mixer = nullptr;
    double started_at = 0;
    std::atomic<bool> ever_on_device{false};
    // The open under way, if any; touched by the supervisor only.
    std::shared_ptr<device_opening> opening;

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

    // When and at which frame the device was attached: set before it pulls, read by its thread.
    double device_started = 0;
    std::uint64_t device_started_frame = 0;
    std::array<float, 2 * 1024> scratch{};

    // Supervisor state.
    double window_start = 0;
    double window_pulled = 0;
    double silent_start = 0;
    std::uint64_t silent_start_frame = 0;
    double next_attempt = 0;

    static void post_process(void* buffer, unsigned int frames, void* self);
    void pull(float* buffer, unsigned frames);
    void catch_up(double now);
    void render_into_nothing(std::uint64_t due);
    void supervise();
    void watch_device(double now);
    void lose_device(double now, const char* why);
    void let_go_of_device();
    void go_silent(double now, double attempt_at);
    void keep_time_silently(double now);
    void open_device();
    void take_opened_device(double now);
    void prepare_device(double now);
};

