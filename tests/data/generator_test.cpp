// The data generator writes every file the instrument needs, and the same bytes on every run.
#include "data/data_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

namespace fs = std::filesystem;

namespace {

// The generator is built beside the test program: <build>/tools next to <build>/tests.
fs::path generator()
{
    return fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "tools" / "tolme_datagen";
}

std::map<std::string, std::string> contents(const fs::path& root)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file()) {
            std::ifstream in(entry.path(), std::ios::binary);
            files[fs::relative(entry.path(), root).string()] =
                std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
    return files;
}

class generated_data : public ::testing::Test
{
protected:
    fs::path root;

    void SetUp() override
    {
        char pattern[] = "/tmp/tolme_datagen_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
        ASSERT_TRUE(fs::exists(generator())) << generator();
    }

    void TearDown() override { fs::remove_all(root); }

    int generate_into(const fs::path& dir)
    {
        return std::system(("'" + generator().string() + "' '" + dir.string() + "'").c_str());
    }
};

} // namespace

TEST_F(generated_data, two_runs_write_identical_bytes)
{
    ASSERT_EQ(generate_into(root / "a"), 0);
    ASSERT_EQ(generate_into(root / "b"), 0);
    const auto first = contents(root / "a");
    const auto second = contents(root / "b");
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first.size(), second.size());
    for (const auto& [name, bytes] : first) {
        ASSERT_EQ(second.count(name), 1u) << name;
        EXPECT_TRUE(bytes == second.at(name)) << name << " differs between runs";
    }
}

TEST_F(generated_data, covers_every_image_and_sound_and_leaves_no_temporary_files)
{
    ASSERT_EQ(generate_into(root), 0);
    auto files = contents(root);
    for (std::string file : image_files())
        EXPECT_EQ(files.erase(file.substr(5)), 1u) << file;
    for (std::string file : sound_files())
        EXPECT_EQ(files.erase(file.substr(5)), 1u) << file;
    for (const auto& [name, bytes] : files)
        ADD_FAILURE() << "unexpected file " << name;
}

TEST_F(generated_data, refuses_to_run_without_a_folder)
{
    EXPECT_NE(std::system(("'" + generator().string() + "' 2>/dev/null").c_str()), 0);
}
