#include "core/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

static bool write_all_to_disk(int fd, const char* bytes, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, bytes, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

static bool sync_to_disk(int fd)
{
    return ::fsync(fd) == 0;
}

static bool rename_on_disk(const char* from, const char* to)
{
    return std::rename(from, to) == 0;
}

const file_steps disk_steps = {write_all_to_disk, sync_to_disk, rename_on_disk};

static std::string reason()
{
    return std::strerror(errno);
}

std::string temporary_name_beside(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    const std::string ending = dot == std::string::npos ? "" : name.substr(dot);
    return folder + "." + name + "." + std::to_string(::getpid()) + ".tmp" + ending;
}

std::string sync_and_rename(const std::string& temporary, const std::string& path, const file_steps& steps)
{
    const int fd = ::open(temporary.c_str(), O_RDONLY);
    const bool synced = fd >= 0 && steps.sync(fd);
    std::string why = synced ? "" : reason();
    if (fd >= 0)
        ::close(fd);
    if (synced && !steps.rename(temporary.c_str(), path.c_str()))
        why = reason();
    if (!why.empty())
        std::remove(temporary.c_str());
    return why;
}

std::string write_file_atomically(const std::string& path, const std::string& contents, const file_steps& steps)
{
    const std::string temporary = temporary_name_beside(path);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return reason();
    const bool written = steps.write_all(fd, contents.data(), contents.size());
    const std::string why = written ? "" : reason();
    ::close(fd);
    if (!written) {
        std::remove(temporary.c_str());
        return why;
    }
    return sync_and_rename(temporary, path, steps);
}
