#include "audio/jack_output.h"

#include "math/clock.h"

#include <jack/midiport.h>
#include <jack/transport.h>

#include <algorithm>
#include <cassert>
#include <chrono>
#include <cstring>
#include <vector>

jack_output_class::jack_output_class(std::unique_ptr<jack_connection_class> connection, mixer_class& mixer,
                                     sync_source sync)
    : sound_output_class(mixer.rate), cycle(mixer, sync), connection(std::move(connection)),
      client(this->connection->client), mixer(mixer), sync(sync)
{
    assert(mixer.rate == this->connection->rate && "the mixer runs at the server's rate");
}

std::string jack_output_class::start(bool connect)
{
    out_left = jack_port_register(client, "out_left", JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput, 0);
    out_right = jack_port_register(client, "out_right", JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput, 0);
    midi_out = jack_port_register(client, "midi_out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    midi_in = jack_port_register(client, "midi_in", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
    if (!out_left || !out_right || !midi_out || !midi_in)
        return "JACK refused Tolme's ports";
    cycle.prepare();
    jack_set_process_callback(client, process, this);
    jack_set_latency_callback(client, latency_changed, this);
    jack_on_info_shutdown(client, server_gone, this);
    jack_set_port_connect_callback(client, port_connected, this);
    if (jack_activate(client) != 0)
        return "JACK did not start Tolme's client";
    started = true;
    keeper = std::thread([this] { keep_time_silently(); });
    if (connect)
        connect_outputs();
    // The server works the latencies out anew for the connections just made and tells them a moment later;
    // until then the ports' latency reads 0.
    jack_recompute_total_latencies(client);
    read_latency();
    for (int wait = 0; wait < 20 && connect && playback_latency.load() == 0; ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        read_latency();
    }
    return {};
}

// The first two physical playback ports, when there are any.
void jack_output_class::connect_outputs()
{
    const char** ports = jack_get_ports(client, nullptr, JACK_DEFAULT_AUDIO_TYPE, JackPortIsPhysical | JackPortIsInput);
    if (!ports)
        return;
    if (ports[0])
        jack_connect(client, jack_port_name(out_left), ports[0]);
    if (ports[0] && ports[1])
        jack_connect(client, jack_port_name(out_right), ports[1]);
    jack_free(ports);
}

void jack_output_class::read_latency()
{
    jack_latency_range_t range{};
    jack_port_get_latency_range(out_left, JackPlaybackLatency, &range);
    playback_latency.store(range.max);
}

// Called on JACK's notification thread, never the audio thread.
void jack_output_class::port_connected(jack_port_id_t a, jack_port_id_t b, int connect, void* self)
{
    auto& output = *static_cast<jack_output_class*>(self);
    const auto is_midi_out = [&](jack_port_id_t id) {
        const jack_port_t* port = jack_port_by_id(output.client, id);
        return port && std::strcmp(jack_port_name(port), jack_port_name(output.midi_out)) == 0;
    };
    if (connect && (is_midi_out(a) || is_midi_out(b)))
        output.cycle.listener_joined.store(true, std::memory_order_relaxed);
}

void jack_output_class::latency_changed(jack_latency_callback_mode_t mode, void* self)
{
    if (mode == JackPlaybackLatency)
        static_cast<jack_output_class*>(self)->read_latency();
}

// From JACK's own thread: only marks the loss; the keeper and the frame loop do the rest.
void jack_output_class::server_gone(jack_status_t, const char*, void* self)
{
    static_cast<jack_output_class*>(self)->lost.store(true);
}

int jack_output_class::process(jack_nframes_t frames, void* self)
{
    return static_cast<jack_output_class*>(self)->cycle_once(frames);
}

int jack_output_class::cycle_once(jack_nframes_t frames) noexcept
{
    in_process.store(true, std::memory_order_release);
    const double cycle_start = current_time() - jack_frames_since_cycle_start(client) / static_cast<double>(mixer.rate);
    auto* left = static_cast<float*>(jack_port_get_buffer(out_left, frames));
    auto* right = static_cast<float*>(jack_port_get_buffer(out_right, frames));
    void* in_buffer = jack_port_get_buffer(midi_in, frames);
    void* out_buffer = jack_port_get_buffer(midi_out, frames);
    jack_midi_clear_buffer(out_buffer);

    std::array<incoming_midi, 256> in{};
    unsigned in_count = 0;
    const jack_nframes_t events = jack_midi_get_event_count(in_buffer);
    for (jack_nframes_t i = 0; i < events; ++i) {
        jack_midi_event_t event;
        if (jack_midi_event_get(&event, in_buffer, i) != 0 || event.size == 0)
            continue;
        if (in_count == in.size()) {
            dropped_in.fetch_add(1, std::memory_order_relaxed);
            continue;
        }
        incoming_midi& message = in[in_count++];
        message.offset = event.time;
        std::copy(event.buffer, event.buffer + std::min<std::size_t>(event.size, 3), message.bytes.begin());
    }

    transport_position transport;
    if (sync == sync_source::jack_transport) {
        jack_position_t position;
        const jack_transport_state_t state = jack_transport_query(client, &position);
        transport.rolling = state == JackTransportRolling;
        transport.starting = state == JackTransportStarting;
        transport.has_bar_beat = (position.valid & JackPositionBBT) != 0;
        transport.bar = position.bar;
        transport.beat = position.beat;
        transport.tick = position.tick;
        transport.ticks_per_beat = position.ticks_per_beat;
        transport.beats_per_bar = position.beats_per_bar;
        transport.bpm = position.beats_per_minute;
    }

    cycle.run(left, right, frames, in.data(), in_count, transport,
              [&](std::uint32_t offset, const std::uint8_t* bytes, std::uint8_t size) {
                  if (jack_midi_event_write(out_buffer, offset, bytes, size) != 0)
                      dropped_out.fetch_add(1, std::memory_order_relaxed);
              });

    // Frames written now are heard after the rest of this cycle and the ports' playback latency.
    const std::uint64_t lead = playback_latency.load(std::memory_order_relaxed) + frames;
    if (lead != heard_lead) {
        heard_lead = lead;
        clock.restart(lead);
    }
    clock.record_pull(mixer.frame, cycle_start);
    in_process.store(false, std::memory_order_release);
    return 0;
}

// Once the server is gone nobody calls the process callback again; from then on the line runs silently at
// the rate, its clock following the wall clock.
void jack_output_class::keep_time_silently()
{
    while (!keeper_stop.load() && !lost.load())
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    while (in_process.load(std::memory_order_acquire))
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    constexpr unsigned block = 256;
    std::vector<float> left(block), right(block);
    const double since = current_time();
    const std::uint64_t from = mixer.frame;
    clock.restart(0);
    while (!keeper_stop.load()) {
        const double now = current_time();
        const auto due = from + static_cast<std::uint64_t>((now - since) * mixer.rate);
        while (mixer.frame < due) {
            const auto count = static_cast<unsigned>(std::min<std::uint64_t>(block, due - mixer.frame));
            cycle.run(left.data(), right.data(), count, nullptr, 0, transport_position{},
                      [](std::uint32_t, const std::uint8_t*, std::uint8_t) {});
            clock.record_pull(mixer.frame, now);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void jack_output_class::stop()
{
    if (!started)
        return;
    if (!lost.load()) {
        cycle.finishing.store(true);
        for (int wait = 0; wait < 50 && !cycle.finished.load() && !lost.load(); ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    keeper_stop.store(true);
    if (keeper.joinable())
        keeper.join();
    // After deactivating, the callback is never entered again; then the client closes.
    if (!lost.load())
        jack_deactivate(client);
    connection.reset();
    started = false;
}

std::string jack_output_class::drop_report() const
{
    return "JACK: " + std::to_string(dropped_in.load()) + " MIDI messages in and " +
           std::to_string(dropped_out.load() + cycle.midi.dropped) + " out dropped, " +
           std::to_string(mixer.dropped_notes) + " notes past a cycle's room";
}
