// The asset families the generator writes. Each takes the data folder (which, with its images/ and sounds/
// subfolders, must exist) and returns false if any of its files could not be written.
#pragma once

#include <string>

bool write_sounds(const std::string& data_dir);
bool write_element_images(const std::string& data_dir);
bool write_effect_images(const std::string& data_dir);
bool write_title_images(const std::string& data_dir);
bool write_interface_images(const std::string& data_dir);
// The program's icon for the desktop, at 48, 64, 128 and 256 px ("<size>.png") and as "scalable.svg".
bool write_desktop_icons(const std::string& icon_dir);
