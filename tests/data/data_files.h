// The data files the instrument names, shared by the tests of the generated data.
#pragma once

#include "instrument/elements.h"
#include "instrument/note_playing.h"

#include <string>
#include <vector>

inline std::vector<std::string> image_files()
{
    std::vector<std::string> files = {"data/missing_image.png"};
    for (const char* name :
         {"air_effect", "black_bead_opaque_A", "black_brick", "dropshadow", "earth4", "wind3", "water", "fire",
          "flame2", "main_flame2", "water_droplets", "healthy_glow", "overlay_pretty", "mouse_cursor",
          "pointer_cursor", "tolme_icon", "t1", "t2", "t3", "o1_a", "o2_a", "l1", "l2", "l3", "m1", "m2", "e1",
          "e2", "e3"})
        files.push_back(std::string("data/images/") + name + ".png");
    return files;
}

inline std::vector<std::string> sound_files()
{
    std::vector<std::string> files = {"data/missing_sample.wav", "data/sounds/select.wav"};
    for (int element = 1; element <= element_count; ++element)
        for (int note = 0; note < notes_per_element; ++note)
            files.push_back(note_sample_file(element, note));
    return files;
}
