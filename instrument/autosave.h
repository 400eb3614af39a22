// Autosave: half a second after the first unsaved change the pattern is written to the player's state folder,
// and once more at exit, by a thread of its own so that no frame waits for the disk. A crash, a kill or a
// stray Escape loses at most the last second of work; "tolme --resume" opens it again.
#pragma once

#include "audio/pattern.h"
#include "core/file_lock.h"

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

// "$XDG_STATE_HOME/tolme/autosave.tolme", or under "~/.local/state" when that is not set or not absolute.
std::string autosave_path();
// The autosave this run writes, held by `lock` for as long as the run lasts: that one, or while other
// running Tolmes hold it, the first free of "autosave-2.tolme", "autosave-3.tolme"..., so that no two runs
// write over each other's work. Where no lock can be had at all (a state folder that cannot be written), the
// first, unheld.
std::string claim_autosave(file_lock_class& lock);
// For a run that does not go on from its autosave, whose first write would replace the run before's work:
// a copy of it as "autosave-previous.tolme" ("autosave-2-previous.tolme"...) beside it. Never onto `opened`,
// the file the run opened.
void keep_previous_autosave(const std::string& autosave, const std::string& opened);

class autosave_class
{
public:
    static constexpr double delay = 0.5;

    // Writes go to path, held by lock until the last is written; the pattern as it stands is taken as saved.
    autosave_class(std::string path, const pattern_class& pattern, file_lock_class lock = {});
    // Writes what is still unsaved, then stops the writer.
    ~autosave_class();
    autosave_class(const autosave_class&) = delete;
    autosave_class& operator=(const autosave_class&) = delete;

    // Frame loop, every tick: the pattern as it stands at the given time; true when that handed it to the
    // writer.
    bool update(const pattern_class& pattern, double now);
    // Hands over what is unsaved at once and waits until everything handed over is written.
    void flush();
    // Why the last write failed, once; empty when it did not.
    std::string take_error();

private:
    const std::string path;
    file_lock_class lock_on_path;
    pattern_class handed;  // the last pattern handed to the writer
    pattern_class unsaved; // the pattern still to hand over
    bool pending = false;
    double pending_since = 0;

    std::mutex lock;
    std::condition_variable wake;
    std::string job;         // the file contents to write; empty when there is none
    bool busy = false;
    bool stopping = false;
    std::string error;
    std::thread writer;

    bool hand_over(const pattern_class& pattern);
    void write_jobs();
};
