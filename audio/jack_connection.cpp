#include "audio/jack_connection.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

jack_connection_class::jack_connection_class(jack_client_t* client)
    : client(client), rate(jack_get_sample_rate(client))
{
}

jack_connection_class::~jack_connection_class()
{
    jack_client_close(client);
}

std::string jack_connection_class::name() const
{
    return jack_get_client_name(client);
}

namespace {

// What the opening thread and the one waiting for it share; the last of them to let go frees it.
struct opening
{
    std::mutex lock;
    std::condition_variable done_signal;
    bool done = false;
    bool abandoned = false;
    jack_client_t* client = nullptr;
};

void quiet(const char*) {}

} // namespace

std::unique_ptr<jack_connection_class> connect_to_jack(const std::string& name, double patience)
{
    jack_set_error_function(quiet);
    jack_set_info_function(quiet);
    const auto job = std::make_shared<opening>();
    std::thread([job, name] {
        jack_status_t status{};
        jack_client_t* client = jack_client_open(name.c_str(), JackNoStartServer, &status);
        std::lock_guard<std::mutex> hold(job->lock);
        if (job->abandoned) {
            if (client)
                jack_client_close(client);
            return;
        }
        job->client = client;
        job->done = true;
        job->done_signal.notify_all();
    }).detach();
    std::unique_lock<std::mutex> hold(job->lock);
    if (!job->done_signal.wait_for(hold, std::chrono::duration<double>(patience), [&] { return job->done; })) {
        job->abandoned = true;
        return nullptr;
    }
    return job->client ? std::make_unique<jack_connection_class>(job->client) : nullptr;
}
