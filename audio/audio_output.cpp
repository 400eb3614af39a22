#include "audio/audio_output.h"

#include "math/clock.h"

#include <allegro5/allegro.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <pthread.h>
#include <string>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

// Frames a device may run ahead of real time: more than any driver queues, little enough that a device
// racing ahead moves the line by no more than this before it is caught.
static constexpr double allowance_limit = mixer_class::desktop_rate / 4.0;
static constexpr double racing_factor = 3.0;
// A device may take a moment to start (a PulseAudio sink waking from suspend took 2 s).
static constexpr double start_grace_seconds = 3.0;
// Devices being let go by threads of their own, which may outlive the output.
static std::atomic<int> devices_letting_go{0};

device_health judge_device(double now, double started, double last_pull, double window_seconds,
                           double window_frames)
{
    if (window_seconds >= audio_output_class::stall_seconds &&
        window_frames > racing_factor * mixer_class::desktop_rate * window_seconds)
        return device_health::racing;
    if (now - started > start_grace_seconds && now - last_pull > audio_output_class::stall_seconds)
        return device_health::stalled;
    return device_health::playing;
}

// How many frames each driver holds between taking a buffer and playing it: PulseAudio's stream asks the
// server for 50 ms plus the buffer being written, OpenAL queues four buffers of 1024.
static unsigned driver_lead(const std::string& driver)
{
    if (driver == "pulseaudio") {
        const char* size = al_get_config_value(al_get_system_config(), "pulseaudio", "buffer_size");
        const int buffer = size && *size ? std::max(128, std::atoi(size)) : 1024;
        return mixer_class::desktop_rate / 20 + static_cast<unsigned>(buffer);
    }
    if (driver == "openal")
        return 4 * 1024;
    return 2048;
}

bool audio_output_class::install()
{
    ALLEGRO_CONFIG* config = al_get_system_config();
    const char* named = al_get_config_value(config, "audio", "driver");
    if (named && *named) {
        lead_frames = driver_lead(named);
        return al_install_audio();
    }
    for (const char* driver : {"pulseaudio", "oss", "openal"}) {
        al_set_config_value(config, "audio", "driver", driver);
        if (al_install_audio()) {
            lead_frames = driver_lead(driver);
            return true;
        }
    }
    al_remove_config_key(config, "audio", "driver");
    return false;
}

bool audio_output_class::create_device_mixer()
{
    if (!device_mixer)
        device_mixer = al_create_mixer(mixer.rate, ALLEGRO_AUDIO_DEPTH_FLOAT32, ALLEGRO_CHANNEL_CONF_2);
    return device_mixer != nullptr;
}

void audio_output_class::post_process(void* buffer, unsigned int frames, void* self)
{
    static_cast<audio_output_class*>(self)->pull(static_cast<float*>(buffer), frames);
}

// At most 15 characters, the kernel's limit.
static void name_this_thread(const char* name)
{
    ::pthread_setname_np(::pthread_self(), name);
}

// The device's thread is named, and asks for a larger share of the processor than drawing and other
// programs, so that a busy machine does not leave the device without sound. Where the system refuses, it
// stays as it was.
static void raise_this_thread()
{
    thread_local bool raised = false;
    if (!raised) {
        name_this_thread("tolme-device");
        ::setpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)), -10);
    }
    raised = true;
}

// Runs on the device's thread for every buffer it takes.
void audio_output_class::pull(float* buffer, unsigned frames)
{
    raise_this_thread();
    const double now = current_time();
    last_pull.store(now, std::memory_order_relaxed);
    pulled_frames.store(pulled_frames.load(std::memory_order_relaxed) + frames, std::memory_order_relaxed);
    allowance = std::min(allowance_limit, allowance + (now - allowance_time) * mixer.rate);
    allowance_time = now;
    // A device racing ahead gets silence and does not move the line.
    if (allowance < frames)
        return;
    allowance -= frames;
    catch_up(now);
    mixer.render(buffer, frames);
    clock.record_pull(mixer.frame, now);
}

// A device may hold its first buffers for a while as it starts (PulseAudio's first write took a second):
// a line held back more than a quarter second by it catches up with real time, what the device did not
// take rendered into nothing, as the silence before it was. Devices that pull just as they play fall a
// few milliseconds behind real time and are left alone; after its start the device's clock is the line's.
void audio_output_class::catch_up(double now)
{
    constexpr double held_back_seconds = 0.25;
    if (now - device_started > start_grace_seconds)
        return;
    const auto due = device_started_frame + static_cast<std::uint64_t>((now - device_started) * mixer.rate);
    if (mixer.frame + static_cast<std::uint64_t>(held_back_seconds * mixer.rate) < due)
        render_into_nothing(due);
}

// The line moves on to the frame, its notes pulse, and nothing is heard. Either the supervisor (with no device)
// or the device's thread (in its pull) does it, never both: the scratch is theirs in turn.
void audio_output_class::render_into_nothing(std::uint64_t due)
{
    while (mixer.frame < due) {
        const auto count = static_cast<unsigned>(std::min<std::uint64_t>(scratch.size() / 2, due - mixer.frame));
        std::fill(scratch.begin(), scratch.begin() + 2 * count, 0.0f);
        mixer.render(scratch.data(), count);
    }
}

void audio_output_class::prepare_device(double now)
{
    allowance = allowance_limit;
    allowance_time = now;
    last_pull = now;
    device_started = now;
    device_started_frame = mixer.frame;
    window_start = now;
    window_pulled = pulled_frames.load();
    clock.restart(lead_frames);
}

void audio_output_class::start()
{
    if (!device_mixer || supervisor.joinable())
        return;
    const double now = current_time();
    started_at = now;
    stop_requested = false;
    go_silent(now, now);
    supervisor = std::thread([this] { supervise(); });
}

bool audio_output_class::stop()
{
    if (supervisor.joinable()) {
        {
            std::lock_guard<std::mutex> lock(stop_mutex);
            stop_requested = true;
        }
        stop_signal.notify_all();
        supervisor.join();
    }
    // A device still opening is left to its thread; Allegro frees it with the rest of its audio at the end.
    if (voice)
        let_go_of_device();
    on_device = false;
    for (int waited = 0; waited < 100 && devices_letting_go.load() > 0; ++waited)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return devices_letting_go.load() == 0;
}

void audio_output_class::supervise()
{
    name_this_thread("tolme-supervise");
    std::unique_lock<std::mutex> lock(stop_mutex);
    while (!stop_signal.wait_for(lock, std::chrono::milliseconds(10), [this] { return stop_requested; })) {
        const double now = current_time();
        if (on_device)
            watch_device(now);
        else
            keep_time_silently(now);
    }
}

void audio_output_class::watch_device(double now)
{
    const double pulled = pulled_frames.load();
    const device_health health =
        judge_device(now, device_started, last_pull.load(), now - window_start, pulled - window_pulled);
    if (health != device_health::playing) {
        lose_device(now, health == device_health::racing ? "takes sound faster than it can play it"
                                                        : "stopped taking sound");
        return;
    }
    if (now - window_start >= stall_seconds) {
        window_start = now;
        window_pulled = pulled;
    }
}

void audio_output_class::lose_device(double now, const char* why)
{
    std::fprintf(stderr, "The sound device %s; playing on in silence and trying again every %g seconds.\n", why,
                 retry_seconds);
    let_go_of_device();
    go_silent(now, now + retry_seconds);
}

// Destroying a voice waits for its driver's thread, which a suspended sink holds up: a thread of its own
// does it. The mixer goes with the voice, to which it stays attached until then.
void audio_output_class::let_go_of_device()
{
    // Takes the voice's lock, which its driver does not hold while it waits on the sink: after it no buffer is
    // being rendered, and none will be.
    al_set_mixer_postprocess_callback(device_mixer, nullptr, nullptr);
    ++devices_letting_go;
    std::thread([voice = voice, mixer = device_mixer] {
        name_this_thread("tolme-let-go");
        al_destroy_voice(voice);
        al_destroy_mixer(mixer);
        --devices_letting_go;
    }).detach();
    voice = nullptr;
    device_mixer = nullptr;
}

// The silence takes the line on from the time at which the device would have played the last frame it was
// handed: a line that a stalled device held back catches up, one whose buffered frames went unheard waits.
void audio_output_class::go_silent(double now, double attempt_at)
{
    on_device = false;
    if (!clock.heard_time(mixer.frame, silent_start))
        silent_start = now;
    silent_start_frame = mixer.frame;
    next_attempt = attempt_at;
    clock.restart(0);
}

// With no device the mixer is rendered into nothing at the output rate, so the line, its notes' pulses and
// the grid's timing carry on.
void audio_output_class::keep_time_silently(double now)
{
    const std::uint64_t before = mixer.frame;
    render_into_nothing(silent_start_frame + static_cast<std::uint64_t>(std::max(0.0, now - silent_start) * mixer.rate));
    if (mixer.frame != before)
        clock.record_pull(mixer.frame, now);
    if (opening)
        take_opened_device(now);
    else if (now >= next_attempt && devices_letting_go.load() == 0)
        open_device();
}

void audio_output_class::open_device()
{
    opening = std::make_shared<device_opening>();
    std::thread([job = opening, rate = mixer.rate] {
        name_this_thread("tolme-open");
        ALLEGRO_VOICE* voice = al_create_voice(rate, ALLEGRO_AUDIO_DEPTH_INT16, ALLEGRO_CHANNEL_CONF_2);
        std::lock_guard<std::mutex> hold(job->lock);
        job->voice = voice;
        job->done = true;
    }).detach();
}

// Plays into the device the opening thread made, once it has made one; tries again later when it failed.
void audio_output_class::take_opened_device(double now)
{
    {
        std::lock_guard<std::mutex> hold(opening->lock);
        if (!opening->done)
            return;
        voice = opening->voice;
    }
    opening.reset();
    next_attempt = now + retry_seconds;
    if (!voice || !create_device_mixer()) {
        al_destroy_voice(voice);
        voice = nullptr;
        return;
    }
    prepare_device(now);
    al_set_mixer_postprocess_callback(device_mixer, post_process, this);
    if (!al_attach_mixer_to_voice(device_mixer, voice)) {
        let_go_of_device();
        clock.restart(0);
        return;
    }
    on_device = true;
    if (ever_on_device.exchange(true))
        std::fprintf(stderr, "The sound device takes sound again.\n");
}
