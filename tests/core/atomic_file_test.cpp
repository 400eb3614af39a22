#include "core/atomic_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>

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
