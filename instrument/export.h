// Writing a pattern out for other programs: as sound, the given number of sweeps rendered by the same mixer
// and data as live play (every note at its exact frame, the last tails kept) into a 44.1 kHz 16-bit stereo
// WAV file; or as a Standard MIDI File. Both files are written atomically. No window or sound device is
// needed, only Allegro's audio add-on installed once (so that samples load) and the instrument's notes.
#pragma once

#include "audio/step_grid.h"

#include <string>

// The empty string on success, else why the file could not be written.
std::string export_wav(const step_grid& cells, int sweeps, const std::string& path);
std::string export_midi(const step_grid& cells, int sweeps, const std::string& path);
