// Writes Tolme's images and sounds into the data folder given as the only argument. Every file comes out
// byte for byte the same on every run, so a build never needs them committed.
#include "families.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DATA_DIR\n", argv[0]);
        return 2;
    }
    const std::string data_dir = argv[1];
    std::error_code error;
    std::filesystem::create_directories(data_dir + "/images", error);
    std::filesystem::create_directories(data_dir + "/sounds", error);

    bool ok = write_interface_images(data_dir);
    ok &= write_sounds(data_dir);
    ok &= write_element_images(data_dir);
    ok &= write_effect_images(data_dir);
    ok &= write_title_images(data_dir);
    if (!ok) {
        std::fprintf(stderr, "could not write every file into %s\n", data_dir.c_str());
        return 1;
    }
    return 0;
}
