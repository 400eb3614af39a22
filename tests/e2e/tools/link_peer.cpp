// A Link peer for the end-to-end tests, built from Debian's Link headers: it joins the session at a tempo with
// start and stop shared, and takes commands on standard input ("tempo BPM", "start", "stop", "quit", and
// "mark", which changes nothing and only says when it came). As a
// JACK client it listens on midi_in to another client's notes: each note-on is placed on the session's beat
// at the moment it is heard (the cycle's time plus the frames into it and the playback latency, turned into
// Link's clock: Link's own rule, which Tolme follows too). Its silent output goes to the same playback port as
// Tolme's, so both have the same latency. It prints one line a report, each after the wall-clock time in
// seconds:
//   peers N | tempo BPM | playing 0|1 | did COMMAND FRAME | note KEY BEAT FRAME | xrun FRAME
// where FRAME is JACK's frame count (at the command or the xrun, or at which the note sounds) and KEY the note's channel
// times 128 plus its pitch.
//   link_peer BPM
#include <ableton/Link.hpp>
#include <jack/jack.h>
#include <jack/midiport.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>

namespace {

constexpr double quantum = 4;

std::mutex print_lock;

template <typename... Values>
void say(const char* format, Values... values)
{
    std::lock_guard<std::mutex> guard(print_lock);
    const double wall = std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
    std::printf("%.6f ", wall);
    std::printf(format, values...);
    std::printf("\n");
    std::fflush(stdout);
}

struct heard_note
{
    int key;
    double beat;
    jack_nframes_t frame;
};

class peer_class
{
public:
    ableton::Link link;
    jack_client_t* client = nullptr;
    jack_port_t* out = nullptr;
    jack_port_t* midi_in = nullptr;
    // From the process callback to the printer, without a lock.
    std::array<heard_note, 4096> notes{};
    std::atomic<unsigned> written{0};
    unsigned printed = 0;

    explicit peer_class(double bpm) : link(bpm) {}

    // Microseconds on Link's clock of a JACK time.
    std::chrono::microseconds link_time(double jack_us) const
    {
        const auto offset = link.clock().micros().count() - static_cast<long long>(jack_get_time());
        return std::chrono::microseconds(std::llround(jack_us) + offset);
    }

    int process(jack_nframes_t frames)
    {
        std::fill_n(static_cast<float*>(jack_port_get_buffer(out, frames)), frames, 0.0f);
        // The cycle's start as the server woke for it. JACK's smoothed cycle times are no ruler here: an xrun
        // resets them to a late wake-up, and they take seconds to come back (a run measured notes up to 7 ms
        // off their beat that way, while Tolme's were on it).
        const jack_nframes_t cycle_start = jack_last_frame_time(client);
        const double frame_us = 1e6 / jack_get_sample_rate(client);
        const double start_us = double(jack_get_time()) - jack_frames_since_cycle_start(client) * frame_us;
        jack_latency_range_t latency;
        jack_port_get_latency_range(out, JackPlaybackLatency, &latency);
        const auto state = link.captureAudioSessionState();
        const auto beat_at = [&](double offset) {
            return state.beatAtTime(link_time(start_us + (offset + latency.max) * frame_us), quantum);
        };
        void* midi = jack_port_get_buffer(midi_in, frames);
        for (jack_nframes_t i = 0, n = jack_midi_get_event_count(midi); i < n; ++i) {
            jack_midi_event_t event;
            if (jack_midi_event_get(&event, midi, i) != 0 || event.size != 3 || (event.buffer[0] & 0xf0) != 0x90 ||
                event.buffer[2] == 0)
                continue;
            const unsigned at = written.load(std::memory_order_relaxed);
            notes[at % notes.size()] = {(event.buffer[0] & 0x0f) * 128 + event.buffer[1], beat_at(event.time),
                                        cycle_start + event.time};
            written.store(at + 1, std::memory_order_release);
        }
        return 0;
    }

    void print_notes()
    {
        for (const unsigned until = written.load(std::memory_order_acquire); printed < until; ++printed) {
            const heard_note& note = notes[printed % notes.size()];
            say("note %d %f %u", note.key, note.beat, note.frame);
        }
    }
};

} // namespace

int main(int argc, char** argv)
{
    const double bpm = argc > 1 ? std::atof(argv[1]) : 120.0;
    peer_class peer(bpm);
    peer.link.setNumPeersCallback([](std::size_t peers) { say("peers %zu", peers); });
    peer.link.setTempoCallback([](double tempo) { say("tempo %.2f", tempo); });
    peer.link.setStartStopCallback([](bool playing) { say("playing %d", playing ? 1 : 0); });
    peer.link.enableStartStopSync(true);
    peer.link.enable(true);
    peer.client = jack_client_open("link_peer", JackNoStartServer, nullptr);
    if (!peer.client) {
        say("no JACK server");
        return 1;
    }
    peer.out = jack_port_register(peer.client, "out", JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput, 0);
    peer.midi_in = jack_port_register(peer.client, "midi_in", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
    jack_set_xrun_callback(
        peer.client,
        [](void* self) {
            say("xrun %u", jack_frame_time(static_cast<peer_class*>(self)->client));
            return 0;
        },
        &peer);
    jack_set_process_callback(
        peer.client, [](jack_nframes_t frames, void* self) { return static_cast<peer_class*>(self)->process(frames); },
        &peer);
    jack_activate(peer.client);
    std::atomic<bool> done{false};
    std::thread printer([&] {
        while (!done.load()) {
            peer.print_notes();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    say("ready");
    for (std::string command; std::cin >> command && command != "quit";) {
        auto state = peer.link.captureAppSessionState();
        const auto now = peer.link.clock().micros();
        if (command == "tempo") {
            double tempo = 0;
            std::cin >> tempo;
            state.setTempo(tempo, now);
        } else if (command == "start" || command == "stop") {
            state.setIsPlayingAndRequestBeatAtTime(command == "start", now, 0, quantum);
        }
        if (command != "mark")
            peer.link.commitAppSessionState(state);
        say("did %s %u", command.c_str(), jack_frame_time(peer.client));
    }
    done.store(true);
    printer.join();
    peer.print_notes();
    jack_deactivate(peer.client);
    jack_client_close(peer.client);
    return 0;
}
