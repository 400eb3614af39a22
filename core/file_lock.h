// An advisory lock on a file (made when missing), held until the lock is destroyed or the process ends,
// however it ends: a crash or a kill leaves nothing stale behind. Taking it never waits.
#pragma once

#include <string>

class file_lock_class
{
public:
    // Another process holds it (a file that could not be opened or locked at all is neither held nor busy).
    bool busy = false;

    file_lock_class() = default;
    explicit file_lock_class(const std::string& path);
    ~file_lock_class();
    file_lock_class(file_lock_class&& other) noexcept;
    file_lock_class& operator=(file_lock_class&& other) noexcept;

    bool held() const { return fd >= 0; }

private:
    int fd = -1;
};
