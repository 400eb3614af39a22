// The data files of the manifest as lists, for the tests that load or regenerate them.
#pragma once

#include "resources/manifest.h"

#include <string>
#include <vector>

inline std::vector<std::string> sound_files()
{
    std::vector<std::string> files = {missing_sample_file, select_sound_file};
    for (int set = 0; set < note_set_count; ++set)
        for (int note = 0; note < notes_per_set; ++note)
            files.push_back(note_sound_file(set, note));
    return files;
}

// Every file: sounds, images and fonts.
inline std::vector<std::string> data_files()
{
    std::vector<std::string> files = sound_files();
    for (const data_image* image : all_images)
        files.push_back(image->path);
    for (const data_font* font : all_fonts)
        files.push_back(font->path);
    return files;
}
