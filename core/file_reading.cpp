#include "core/file_reading.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

static std::string read_up_to(int fd, std::size_t limit, std::string& contents)
{
    char buffer[65536];
    while (contents.size() <= limit) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::strerror(errno);
        if (got == 0)
            return "";
        contents.append(buffer, std::min(static_cast<std::size_t>(got), limit + 1 - contents.size()));
    }
    return "";
}

std::string read_small_file(const std::string& path, std::size_t limit, std::string& contents)
{
    contents.clear();
    // Opened without waiting, so that a pipe with no writer is refused below instead of blocking.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::strerror(errno);
    struct stat info;
    std::string why;
    if (::fstat(fd, &info) != 0)
        why = std::strerror(errno);
    else if (S_ISDIR(info.st_mode))
        why = "it is a folder";
    else if (!S_ISREG(info.st_mode))
        why = "it is not a plain file";
    else
        why = read_up_to(fd, limit, contents);
    ::close(fd);
    return why;
}
