// Writing a player's file so that it is never left half written: the contents go to a temporary file in the
// same folder, which is flushed to the disk and then renamed over the old file in one step. When any step
// fails, the old file stays as it was, the temporary file goes, and the reason comes back. A link is written
// through to the file it names, an old file keeps its permissions, and what is not a plain file, or may not be
// written, is left alone.
#pragma once

#include <cstdint>
#include <string>

// The steps that touch the disk, replaceable by tests to inject faults.
struct file_steps
{
    // Writes all of the bytes to an open file; false on failure (errno tells why).
    bool (*write_all)(int fd, const char* bytes, std::size_t size);
    // Flushes an open file to the disk.
    bool (*sync)(int fd);
    // Renames a file over another.
    bool (*rename)(const char* from, const char* to);
};
extern const file_steps disk_steps;

// A file being written in pieces, for contents too large to hold at once.
class atomic_file_class
{
public:
    // The first failure, empty while there is none; once set, nothing more is written.
    std::string why;

    explicit atomic_file_class(const std::string& path, const file_steps& steps = disk_steps);
    // Removes the temporary file unless it was committed.
    ~atomic_file_class();
    atomic_file_class(const atomic_file_class&) = delete;
    atomic_file_class& operator=(const atomic_file_class&) = delete;

    // Appends the bytes; false once anything failed.
    bool write(const char* bytes, std::size_t size);
    // Writes the bytes over those already written from offset on (a header whose sizes came last).
    bool write_at(std::uint64_t offset, const char* bytes, std::size_t size);
    // Flushes the file to the disk and renames it over the path: the empty string, or why not.
    std::string commit();

private:
    const file_steps& steps;
    std::string target;    // the path, or the file its links lead to
    std::string temporary; // empty once renamed
    int fd = -1;
};

// Writes the contents to the path atomically; returns the empty string on success, else why it failed.
std::string write_file_atomically(const std::string& path, const std::string& contents,
                                  const file_steps& steps = disk_steps);
