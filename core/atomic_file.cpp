#include "core/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
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

// The file a path leads to through its links; the last may not be there yet. A loop of links is left for
// the system to refuse.
static std::string followed(std::string path)
{
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code error;
        const std::filesystem::path link = std::filesystem::read_symlink(path, error);
        if (error)
            return path;
        path = (std::filesystem::path(path).parent_path() / link).string();
    }
    return path;
}

// "" for a bare name, else the folder with its last slash.
static std::string folder_of(const std::string& file)
{
    return file.substr(0, file.rfind('/') + 1);
}

// A new file of its own beside the target, its name short enough for any name the folder holds.
static int create_temporary(const std::string& target, std::string& temporary)
{
    static std::atomic<unsigned> made{0};
    const std::string folder = folder_of(target), name = target.substr(folder.size()).substr(0, 200);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = folder + "." + name + "." + std::to_string(::getpid()) + "-" + std::to_string(made++) + ".tmp";
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// The old file's permissions, and its owner and group as far as the one who saves may give them: all of them
// as root, else a group of their own (what cannot be given stays the saver's). The mode is set last, as a
// change of owner may have cut it.
static bool keep_access(int fd, const struct stat& old)
{
    if (::fchown(fd, old.st_uid, old.st_gid) != 0 && ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
        // Neither: the new file stays the saver's.
    }
    return ::fchmod(fd, old.st_mode & 07777) == 0;
}

atomic_file_class::atomic_file_class(const std::string& path, const file_steps& steps)
    : steps(steps), target(followed(path))
{
    struct stat old;
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT)
        why = reason();
    else if (exists && S_ISDIR(old.st_mode))
        why = std::strerror(EISDIR);
    else if (exists && !S_ISREG(old.st_mode))
        why = "it is not a plain file";
    else if (exists && ::access(target.c_str(), W_OK) != 0)
        why = reason();
    else if ((fd = create_temporary(target, temporary)) < 0)
        why = reason(), temporary.clear();
    else if (exists && !keep_access(fd, old))
        why = reason();
}

atomic_file_class::~atomic_file_class()
{
    if (fd >= 0)
        ::close(fd);
    if (!temporary.empty())
        std::remove(temporary.c_str());
}

bool atomic_file_class::write(const char* bytes, std::size_t size)
{
    if (why.empty() && !steps.write_all(fd, bytes, size))
        why = reason();
    return why.empty();
}

bool atomic_file_class::write_at(std::uint64_t offset, const char* bytes, std::size_t size)
{
    if (why.empty() && ::lseek(fd, static_cast<off_t>(offset), SEEK_SET) < 0)
        why = reason();
    write(bytes, size);
    if (why.empty() && ::lseek(fd, 0, SEEK_END) < 0)
        why = reason();
    return why.empty();
}

// A rename survives a power cut only once its folder is flushed too; the file is in place either way.
static void sync_folder_of(const std::string& file)
{
    const std::string folder = folder_of(file);
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

std::string atomic_file_class::commit()
{
    if (why.empty() && !steps.sync(fd))
        why = reason();
    if (fd >= 0 && ::close(fd) != 0 && why.empty())
        why = reason();
    fd = -1;
    if (why.empty() && !steps.rename(temporary.c_str(), target.c_str()))
        why = reason();
    if (why.empty()) {
        temporary.clear();
        sync_folder_of(target);
    }
    return why;
}

std::string write_file_atomically(const std::string& path, const std::string& contents, const file_steps& steps)
{
    atomic_file_class file(path, steps);
    file.write(contents.data(), contents.size());
    return file.commit();
}
