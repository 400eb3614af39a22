#include "instrument/autosave.h"

#include "core/atomic_file.h"
#include "core/file_reading.h"
#include "instrument/pattern_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <utility>

std::string autosave_path()
{
    const char* state = std::getenv("XDG_STATE_HOME");
    const char* home = std::getenv("HOME");
    // A relative state folder is ignored, as desktops do: it would follow the working folder.
    const std::string folder = state && *state == '/' ? state : std::string(home ? home : ".") + "/.local/state";
    return folder + "/tolme/autosave.tolme";
}

// Every folder on the way to the file, as "mkdir -p" makes them; why one could not be made, else "".
static std::string make_folders_for(const std::string& file)
{
    for (std::size_t slash = file.find('/', 1); slash != std::string::npos; slash = file.find('/', slash + 1))
        if (::mkdir(file.substr(0, slash).c_str(), 0700) != 0 && errno != EEXIST)
            return std::strerror(errno);
    return "";
}

// The file's path without its ".tolme".
static std::string stem(const std::string& path)
{
    return path.substr(0, path.rfind('.'));
}

std::string claim_autosave(file_lock_class& lock)
{
    const std::string first = autosave_path();
    make_folders_for(first); // a folder that cannot be made is for the writes to tell
    for (int slot = 1;; ++slot) {
        const std::string path = slot == 1 ? first : stem(first) + "-" + std::to_string(slot) + ".tolme";
        file_lock_class tried(stem(path) + ".lock");
        if (!tried.busy) {
            lock = std::move(tried);
            return lock.held() ? path : first;
        }
    }
}

void keep_previous_autosave(const std::string& autosave, const std::string& opened)
{
    const std::string previous = stem(autosave) + "-previous.tolme";
    std::error_code unknown;
    std::string text;
    if (std::filesystem::equivalent(opened, previous, unknown) ||
        !read_small_file(autosave, largest_pattern_file, text).empty())
        return;
    // A copy that fails leaves the one before.
    write_file_atomically(previous, text);
}

autosave_class::autosave_class(std::string path, const pattern_class& pattern, file_lock_class lock)
    : path(std::move(path)), lock_on_path(std::move(lock)), handed(pattern), unsaved(pattern),
      writer([this] { write_jobs(); })
{
}

autosave_class::~autosave_class()
{
    flush();
    // The window is closing: a last write that failed can be told only on standard error.
    if (const std::string why = take_error(); !why.empty())
        std::fprintf(stderr, "tolme: %s\n", why.c_str());
    {
        std::lock_guard<std::mutex> guard(lock);
        stopping = true;
    }
    wake.notify_all();
    writer.join();
}

bool autosave_class::update(const pattern_class& pattern, double now)
{
    if (pattern != unsaved && !pending) {
        pending = true;
        pending_since = now;
    }
    unsaved = pattern;
    return pending && now - pending_since >= delay && hand_over(unsaved);
}

bool autosave_class::hand_over(const pattern_class& pattern)
{
    pending = false;
    if (pattern == handed)
        return false;
    handed = pattern;
    {
        std::lock_guard<std::mutex> guard(lock);
        job = format_pattern(pattern);
    }
    wake.notify_all();
    return true;
}

void autosave_class::flush()
{
    hand_over(unsaved);
    std::unique_lock<std::mutex> guard(lock);
    wake.wait(guard, [this] { return job.empty() && !busy; });
}

std::string autosave_class::take_error()
{
    std::lock_guard<std::mutex> guard(lock);
    return std::exchange(error, std::string());
}

void autosave_class::write_jobs()
{
    std::unique_lock<std::mutex> guard(lock);
    for (;;) {
        wake.wait(guard, [this] { return !job.empty() || stopping; });
        if (job.empty())
            return;
        const std::string contents = std::exchange(job, std::string());
        busy = true;
        guard.unlock();
        std::string why = make_folders_for(path);
        if (why.empty())
            why = write_file_atomically(path, contents);
        guard.lock();
        busy = false;
        if (!why.empty())
            error = "could not autosave to " + path + ": " + why;
        wake.notify_all();
    }
}
