// A client of a JACK server that is already running (one is never started): opened by a thread of its own
// so that whoever asks waits no longer than it is willing to, and closed with its owner. When the server
// answers too late, the thread closes what it opened.
#pragma once

#include <jack/jack.h>

#include <memory>
#include <string>

class jack_connection_class
{
public:
    jack_client_t* client = nullptr;
    unsigned rate = 0;

    explicit jack_connection_class(jack_client_t* client);
    ~jack_connection_class();
    jack_connection_class(const jack_connection_class&) = delete;
    jack_connection_class& operator=(const jack_connection_class&) = delete;

    // The name JACK gave the client: the one asked for, or it with JACK's own suffix when that was taken.
    std::string name() const;
};

// A client named `name` on the running server, or null when none answers within `patience` seconds. JACK's
// own complaints about a missing server are kept off standard error.
std::unique_ptr<jack_connection_class> connect_to_jack(const std::string& name, double patience);
