// Plays the mixer through a JACK server: ports out_left and out_right (connected to the first two physical
// playback ports unless told not to), midi_out with every note and the MIDI clock, and midi_in for a clock
// to follow. Sound and MIDI of a cycle are made together in the server's process callback, at the server's
// rate, by one studio cycle. The pulses are timed by the frame the server's playback latency says is heard.
// When the server goes away, the line keeps its time in silence (a thread of its own renders the mixer in
// real time), and whoever owns the output may move to another.
#pragma once

#include "audio/jack_connection.h"
#include "audio/mixer.h"
#include "audio/sound_output.h"
#include "audio/studio_cycle.h"

#include <atomic>
#include <memory>
#include <string>
#include <thread>

class jack_output_class : public sound_output_class
{
public:
    studio_cycle_class cycle;

    // The mixer must run at the connection's rate, its schedule on the beat.
    jack_output_class(std::unique_ptr<jack_connection_class> connection, mixer_class& mixer, sync_source sync);
    ~jack_output_class() override { stop(); }

    // Registers the ports and starts the callback, then connects the outputs when asked; the reason when the
    // server refused, else empty.
    std::string start(bool connect_outputs);
    // Sends Stop and All Notes Off (waiting a few cycles at most for them to go out), then closes the client;
    // after it nothing renders the mixer.
    void stop();
    bool playing() const override { return started && !lost.load(); }
    // Whether the server went away while playing.
    bool server_lost() const { return lost.load(); }
    std::string client_name() const { return connection ? connection->name() : std::string(); }
    // Frames from the ports to the speakers, as JACK says.
    unsigned latency_frames() const { return playback_latency.load(); }
    // What the audio thread had to drop, for the player to read at the end.
    std::string drop_report() const;

private:
    std::unique_ptr<jack_connection_class> connection;
    jack_client_t* const client; // the connection's, for the audio thread
    mixer_class& mixer;
    jack_port_t* out_left = nullptr;
    jack_port_t* out_right = nullptr;
    jack_port_t* midi_out = nullptr;
    jack_port_t* midi_in = nullptr;
    bool started = false;
    const sync_source sync;

    std::atomic<bool> lost{false};
    std::atomic<bool> in_process{false};
    std::atomic<unsigned> playback_latency{0};
    std::uint64_t heard_lead = 0; // the heard clock's lead as last set; the audio thread's
    std::atomic<unsigned> dropped_in{0};
    std::atomic<unsigned> dropped_out{0};

    std::thread keeper; // renders in silence once the server is gone
    std::atomic<bool> keeper_stop{false};

    static int process(jack_nframes_t frames, void* self);
    static void latency_changed(jack_latency_callback_mode_t mode, void* self);
    static void server_gone(jack_status_t, const char*, void* self);
    static void port_connected(jack_port_id_t a, jack_port_id_t b, int connect, void* self);
    int cycle_once(jack_nframes_t frames) noexcept;
    void read_latency();
    void connect_outputs();
    void keep_time_silently();
};
