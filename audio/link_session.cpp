#include "audio/link_session.h"

#include "math/clock.h"

#include <ableton/Link.hpp>

#include <cmath>

link_session_class::link_session_class(double bpm) : link(std::make_unique<ableton::Link>(bpm))
{
    link->setNumPeersCallback([this](std::size_t count) { peers.store(static_cast<int>(count)); });
}

link_session_class::~link_session_class() = default;

void link_session_class::join(double bpm, bool playing, bool shared_start_stop)
{
    start_stop.store(shared_start_stop);
    auto state = link->captureAppSessionState();
    const auto now = link->clock().micros();
    state.setTempo(bpm, now);
    if (shared_start_stop)
        state.setIsPlaying(playing, now);
    link->commitAppSessionState(state);
    link->enableStartStopSync(shared_start_stop);
    link->enable(true);
}

void link_session_class::leave()
{
    link->enable(false);
}

// Both clocks read together: what lies between the readings is Link's to wait on, not ours.
long long link_session_class::link_micros(double time) const noexcept
{
    const double now = current_time();
    const long long link_now = link->clock().micros().count();
    return link_now + std::llround((time - now) * 1e6);
}

link_reading link_session_class::read(double time) const noexcept
{
    const auto state = link->captureAudioSessionState();
    const std::chrono::microseconds at(link_micros(time));
    link_reading now;
    now.beat = state.beatAtTime(at, beats_per_bar);
    now.bpm = state.tempo();
    now.playing = !start_stop.load(std::memory_order_relaxed) || state.isPlaying();
    return now;
}

void link_session_class::commit_tempo(double bpm, double time) noexcept
{
    auto state = link->captureAudioSessionState();
    state.setTempo(bpm, std::chrono::microseconds(link_micros(time)));
    link->commitAudioSessionState(state);
}

void link_session_class::offer_beat(double beat, double time) noexcept
{
    if (peers.load(std::memory_order_relaxed) > 0)
        return;
    auto state = link->captureAudioSessionState();
    state.requestBeatAtTime(beat, std::chrono::microseconds(link_micros(time)), beats_per_bar);
    link->commitAudioSessionState(state);
}

void link_session_class::commit_playing(bool playing, double time) noexcept
{
    auto state = link->captureAudioSessionState();
    state.setIsPlayingAndRequestBeatAtTime(playing, std::chrono::microseconds(link_micros(time)), 0, beats_per_bar);
    link->commitAudioSessionState(state);
}
