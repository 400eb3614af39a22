// Writing a pattern out for other programs: as sound, the given number of sweeps rendered by the same mixer
// and data as live play at the pattern's tempo and swing (every note at its exact frame on the beat grid, so
// that column 0's notes open the file and loops tile, the last tails kept) into a 44.1 kHz 16-bit stereo
// WAV file; or as a Standard MIDI File. Both files are written atomically. No window or sound device is
// needed, only Allegro's audio add-on installed once (so that samples load) and the notes.
#pragma once

#include "audio/pattern.h"

#include <atomic>
#include <string>

// The empty string on success, else why the file could not be written.
class note_sounds_class;

// The WAV export stops, leaving no file and any old one as it was, once `stop` is set (by a signal, say).
std::string export_wav(const note_sounds_class& sounds, const pattern_class& pattern, int sweeps,
                       const std::string& path, const std::atomic<bool>& stop);
std::string export_midi(const pattern_class& pattern, int sweeps, const std::string& path);
