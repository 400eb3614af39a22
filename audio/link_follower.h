// Plays along with a Link session, on whichever output renders the mixer. The frame loop turns it on and off
// (the session is made the first time: before that Tolme opens no socket), asks for tempos and for play or
// stop; the mixer hands it each buffer before its notes are walked, and it reads the session at the time the
// buffer's first frame will be heard (the output's heard clock: the device's or JACK's latency taken into
// account, as Link asks) and steers the line there. Tempos the player sets, and play and stop when shared,
// are committed to the session from the same audio thread. What it sees is published for the readout.
#pragma once

#include "audio/heard_clock.h"
#include "audio/link_session.h"
#include "audio/link_steering.h"
#include "audio/tempo.h"

#include <atomic>
#include <cstdint>
#include <memory>

class link_follower_class
{
public:
    // Set while nothing renders: the clock of the output that renders, whose heard times are Link's times.
    const heard_clock_class* clock = nullptr;
    // Set before joining: play and stop shared with the session.
    bool shared_start_stop = false;

    // Published by the audio thread.
    std::atomic<int> phase{static_cast<int>(link_phase::waiting)};
    std::atomic<double> bpm{0};
    std::atomic<bool> session_playing{true};

    explicit link_follower_class(double rate) : steering(rate) {}

    // Frame loop side. Joins, at this tempo and playing or not while nobody else is in the session (made the
    // first time), or leaves.
    void turn_on(const tempo_class& tempo, bool playing);
    void turn_off();
    bool on() const { return active.load(std::memory_order_relaxed); }
    // Peers in the session, while on.
    int peers() const;
    // The tempo the player set, for the session from the next buffer on.
    void ask_tempo(const tempo_class& tempo);
    // Shared play or stop, for the session from the next buffer on (the player's own stop is then the
    // session's to make).
    void ask_playing(bool playing);

    // Audio thread: steers the line at frame `at` and returns the frame up to which it may run so (see
    // link_steering_class); `playing` is the player's own play or stop. Nothing while off.
    std::uint64_t guide(note_schedule_class& schedule, std::uint64_t at, std::uint64_t end, bool playing) noexcept;

private:
    std::unique_ptr<link_session_class> session_owned; // the frame loop's
    std::atomic<link_session_class*> session{nullptr};
    std::atomic<bool> active{false};
    // Requests, each with a count that changes when a new one is made.
    std::atomic<double> asked_bpm{0};
    std::atomic<unsigned> tempo_requests{0};
    std::atomic<bool> asked_playing{false};
    std::atomic<unsigned> play_requests{0};

    // The audio thread's.
    link_steering_class steering;
    bool joined = false;
    unsigned tempo_requests_seen = 0;
    unsigned play_requests_seen = 0;

    void join(link_session_class& link, const note_schedule_class& schedule, std::uint64_t at, double time) noexcept;
    void commit_requests(link_session_class& link, double time) noexcept;
};
