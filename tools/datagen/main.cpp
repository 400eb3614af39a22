// Writes every file of Tolme's data folder into the folder given first: the images and sounds it draws and
// synthesises, the same bytes on every run, and the fonts it copies from Debian's packages. Given a second
// folder, it writes the program's desktop icons there.
#include "canvas.h"
#include "families.h"

#include <cstdio>
#include <filesystem>

namespace {

bool copy_fonts(const std::string& data_dir)
{
    bool ok = true;
    for (const data_font* font : all_fonts) {
        std::error_code error;
        std::filesystem::copy_file(font->debian_file, data_path(data_dir, font->path),
                                   std::filesystem::copy_options::overwrite_existing, error);
        if (error) {
            std::fprintf(stderr, "%s: %s (tools/setup.sh installs the font packages)\n", font->debian_file,
                         error.message().c_str());
            ok = false;
        }
    }
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s DATA_DIR [ICON_DIR]\n", argv[0]);
        return 2;
    }
    const std::string data_dir = argv[1];
    std::error_code error;
    for (const char* folder : {"/images", "/sounds", "/fonts"})
        std::filesystem::create_directories(data_dir + folder, error);

    bool ok = write_interface_images(data_dir);
    ok &= write_sounds(data_dir);
    ok &= write_element_images(data_dir);
    ok &= write_effect_images(data_dir);
    ok &= write_title_images(data_dir);
    ok &= copy_fonts(data_dir);
    if (argc == 3) {
        std::filesystem::create_directories(argv[2], error);
        ok &= write_desktop_icons(argv[2]);
    }
    if (!ok) {
        std::fprintf(stderr, "could not write every file into %s\n", data_dir.c_str());
        return 1;
    }
    return 0;
}
