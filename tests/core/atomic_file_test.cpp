#include "core/atomic_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

static std::string contents_of(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// Whatever step fails, the old file keeps every byte, no temporary file is left, and the reason comes back.
TEST(atomic_file, a_failed_write_leaves_the_old_file_whole_and_says_why)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "tolme_atomic_test";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "song.tolme").string();
    ASSERT_EQ(write_file_atomically(path, "old\n"), "");
    const struct { file_steps steps; const char* why; } faults[] = {
        {{[](int, const char*, std::size_t) { errno = ENOSPC; return false; }, disk_steps.sync, disk_steps.rename},
         "No space left on device"},
        {{disk_steps.write_all, [](int) { errno = EIO; return false; }, disk_steps.rename}, "Input/output error"},
        {{disk_steps.write_all, disk_steps.sync, [](const char*, const char*) { errno = EXDEV; return false; }},
         "Invalid cross-device link"}};
    for (const auto& fault : faults) {
        EXPECT_EQ(write_file_atomically(path, "new\n", fault.steps), fault.why);
        EXPECT_EQ(contents_of(path), "old\n");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1) << "a temporary file left";
    }
    EXPECT_EQ(write_file_atomically((folder / "no" / "such.tolme").string(), "x"), "No such file or directory");
    EXPECT_EQ(write_file_atomically(path, "new\n"), "");
    EXPECT_EQ(contents_of(path), "new\n");
    std::filesystem::remove_all(folder);
}

// A link is written through and stays a link; the file keeps its permissions; a pipe at the path is left as
// it is; a name as long as the folder takes still leaves room for the temporary name.
TEST(atomic_file, the_file_a_link_names_is_written_with_its_permissions_and_only_plain_files_are_replaced)
{
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / "tolme_atomic_kinds";
    fs::remove_all(folder);
    fs::create_directories(folder / "songs");
    const std::string song = (folder / "songs" / "song.tolme").string(), link = (folder / "link.tolme").string();
    ASSERT_EQ(write_file_atomically(song, "old\n"), "");
    fs::permissions(song, fs::perms::owner_read | fs::perms::owner_write);
    // Saved by root, a player's file stays the player's.
    const bool root = ::geteuid() == 0;
    ASSERT_TRUE(!root || ::chown(song.c_str(), 65534, 65534) == 0);
    fs::create_symlink("songs/song.tolme", link);
    EXPECT_EQ(write_file_atomically(link, "new\n"), "");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(contents_of(song), "new\n");
    EXPECT_EQ(fs::status(song).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    struct stat saved;
    ASSERT_EQ(::stat(song.c_str(), &saved), 0);
    EXPECT_TRUE(!root || (saved.st_uid == 65534 && saved.st_gid == 65534)) << saved.st_uid << ":" << saved.st_gid;
    const std::string pipe = (folder / "pipe.tolme").string();
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(write_file_atomically(pipe, "x"), "it is not a plain file");
    EXPECT_EQ(fs::status(pipe).type(), fs::file_type::fifo);
    EXPECT_EQ(write_file_atomically(folder.string(), "x"), "Is a directory");
    const std::string longest = (folder / (std::string(249, 'n') + ".tolme")).string();
    EXPECT_EQ(write_file_atomically(longest, "x"), "");
    EXPECT_EQ(contents_of(longest), "x");
    fs::remove_all(folder);
}
