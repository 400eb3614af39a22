#include "resources/data_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

// $TOLME_DATA wins; else the installed folder beside the program when it is there; else data here. Names
// under "data/" are looked up in the folder chosen, others are left as they are.
TEST(data_folder, is_chosen_from_the_environment_then_beside_the_program_then_here)
{
    const std::filesystem::path root = std::filesystem::temp_directory_path() / "tolme_prefix";
    std::filesystem::create_directories(root / "bin");
    EXPECT_EQ(find_data_folder("/x/tolme", (root / "bin").string()).folder, "/x/tolme");
    EXPECT_EQ(find_data_folder("", (root / "bin").string()).folder, "data");
    std::filesystem::create_directories(root / "share" / "tolme");
    const data_folder_choice installed = find_data_folder(nullptr, (root / "bin").string());
    EXPECT_EQ(std::filesystem::canonical(installed.folder), root / "share" / "tolme");
    EXPECT_EQ(installed.where, (root / "share" / "tolme").string() + " beside the program");
    std::filesystem::remove_all(root);

    use_data_folder("/opt/tolme/share/tolme");
    EXPECT_EQ(data_file("data/images/water.png"), "/opt/tolme/share/tolme/images/water.png");
    EXPECT_EQ(data_file("/tmp/song.wav"), "/tmp/song.wav");
    use_data_folder("data");
    EXPECT_EQ(data_file("data/lacuna.ttf"), "data/lacuna.ttf");
}
