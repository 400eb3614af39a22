#include "core/file_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <utility>

file_lock_class::file_lock_class(const std::string& path)
    : fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600))
{
    if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        busy = errno == EWOULDBLOCK;
        ::close(std::exchange(fd, -1));
    }
}

file_lock_class::~file_lock_class()
{
    if (fd >= 0)
        ::close(fd);
}

file_lock_class::file_lock_class(file_lock_class&& other) noexcept
    : busy(other.busy), fd(std::exchange(other.fd, -1))
{
}

file_lock_class& file_lock_class::operator=(file_lock_class&& other) noexcept
{
    std::swap(fd, other.fd);
    busy = other.busy;
    return *this;
}
