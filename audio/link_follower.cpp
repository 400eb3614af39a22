#include "audio/link_follower.h"

void link_follower_class::turn_on(const tempo_class& tempo, bool playing)
{
    if (!session_owned) {
        session_owned = std::make_unique<link_session_class>(tempo.bpm());
        session.store(session_owned.get(), std::memory_order_release);
    }
    session_owned->join(tempo.bpm(), playing, shared_start_stop);
    active.store(true, std::memory_order_release);
}

void link_follower_class::turn_off()
{
    active.store(false, std::memory_order_release);
    if (session_owned)
        session_owned->leave();
}

int link_follower_class::peers() const
{
    return on() && session_owned ? session_owned->peers.load(std::memory_order_relaxed) : 0;
}

void link_follower_class::ask_tempo(const tempo_class& tempo)
{
    asked_bpm.store(tempo.bpm(), std::memory_order_relaxed);
    tempo_requests.fetch_add(1, std::memory_order_release);
}

void link_follower_class::ask_playing(bool playing)
{
    asked_playing.store(playing, std::memory_order_relaxed);
    play_requests.fetch_add(1, std::memory_order_release);
}

// The session takes the line's own beat when nobody else is in it, so that joining alone moves nothing;
// requests made while off are old news.
void link_follower_class::join(link_session_class& link, const note_schedule_class& schedule, std::uint64_t at,
                               double time) noexcept
{
    joined = true;
    steering.phase = link_phase::waiting;
    tempo_requests_seen = tempo_requests.load(std::memory_order_acquire);
    play_requests_seen = play_requests.load(std::memory_order_acquire);
    const double beat = (schedule.columns_at(at) - schedule.column_zero()) / columns_per_beat;
    link.offer_beat(beat, time);
}

void link_follower_class::commit_requests(link_session_class& link, double time) noexcept
{
    const unsigned tempos = tempo_requests.load(std::memory_order_acquire);
    if (tempos != tempo_requests_seen) {
        tempo_requests_seen = tempos;
        link.commit_tempo(asked_bpm.load(std::memory_order_relaxed), time);
    }
    const unsigned plays = play_requests.load(std::memory_order_acquire);
    if (plays != play_requests_seen) {
        play_requests_seen = plays;
        link.commit_playing(asked_playing.load(std::memory_order_relaxed), time);
    }
}

std::uint64_t link_follower_class::guide(note_schedule_class& schedule, std::uint64_t at, std::uint64_t end,
                                         bool playing) noexcept
{
    link_session_class* link = session.load(std::memory_order_acquire);
    double time = 0;
    if (!active.load(std::memory_order_acquire) || !link) {
        joined = false;
        return end;
    }
    if (!clock || !clock->heard_time(at, time))
        return end;
    if (!joined)
        join(*link, schedule, at, time);
    commit_requests(*link, time);
    link_reading now = link->read(time);
    session_playing.store(now.playing, std::memory_order_relaxed);
    bpm.store(now.bpm, std::memory_order_relaxed);
    now.playing = now.playing && playing;
    const std::uint64_t until = steering.steer(schedule, at, end, now);
    phase.store(static_cast<int>(steering.phase), std::memory_order_relaxed);
    return until;
}
