// Tolme's place in an Ableton Link session: the one object that holds Link's own (its threads and sockets),
// made only when Link is first asked for. Link's threads only set the counts and tempo here, which the frame
// loop reads; the audio thread reads and changes the session through Link's realtime-safe calls alone. Times
// are the program's clock (current_time's seconds), turned into Link's own by reading both together.
#pragma once

#include "audio/link_steering.h"

#include <atomic>
#include <memory>

namespace ableton {
class Link;
}

class link_session_class
{
public:
    // Published by Link's threads.
    std::atomic<int> peers{0};

    // Joins nobody yet: Link starts disabled, its timeline at this tempo.
    explicit link_session_class(double bpm);
    ~link_session_class();
    link_session_class(const link_session_class&) = delete;
    link_session_class& operator=(const link_session_class&) = delete;

    // Frame loop side: Link looks for peers on the network, starting from a tempo and (when start and stop
    // are shared) whether it plays, which the session takes while nobody else is in it; or leaves the
    // session. Link shares start and stop as they happen: one who joins a session later keeps its own until
    // the next start or stop.
    void join(double bpm, bool playing, bool shared_start_stop);
    void leave();

    // Audio thread: the session at a time (its start and stop only when shared; else always playing).
    link_reading read(double time) const noexcept;
    // Audio thread: the session's tempo from a time on; start or stop at a time, beat 0 then falling on the
    // next bar.
    void commit_tempo(double bpm, double time) noexcept;
    void commit_playing(bool playing, double time) noexcept;
    // Audio thread, on joining: the beat at a time, which the session takes only while nobody else is in it
    // (a session with peers keeps its beat).
    void offer_beat(double beat, double time) noexcept;

private:
    std::unique_ptr<ableton::Link> link;
    std::atomic<bool> start_stop{false};

    long long link_micros(double time) const noexcept;
};
