// Writing a player's file so that it is never left half written: the contents go to a temporary file in the
// same folder, which is flushed to the disk and then renamed over the old file in one step. When any step
// fails, the old file stays as it was, the temporary file goes, and the reason comes back.
#pragma once

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

// Writes the contents to the path atomically; returns the empty string on success, else why it failed.
std::string write_file_atomically(const std::string& path, const std::string& contents,
                                  const file_steps& steps = disk_steps);

// Makes a temporary name in the path's own folder, ending as the path ends (".wav" stays ".wav"), for
// writers that pick the format by the name; the caller renames it over the path (see write_file_atomically).
std::string temporary_name_beside(const std::string& path);
// Flushes a closed file's contents to the disk and renames it over the path; the empty string or why not.
std::string sync_and_rename(const std::string& temporary, const std::string& path,
                            const file_steps& steps = disk_steps);
