// A guard in front of Allegro's WAV loader, which hangs forever on a chunk whose length is negative and
// allocates gigabytes for a huge data length. A file is handed to Allegro only when its RIFF structure is
// sound: every chunk within the file, one PCM format chunk of 8 or 16 bits, a data chunk.
#pragma once

#include <allegro5/allegro_audio.h>

#include <cstddef>
#include <string>

// Whether a WAV file's bytes have a structure that Allegro's loader handles safely.
bool wav_bytes_are_sound(const unsigned char* bytes, std::size_t size);

// The sample in a WAV file's bytes, loaded by Allegro only when their structure is sound; null otherwise.
ALLEGRO_SAMPLE* sample_from_wav_bytes(const unsigned char* bytes, std::size_t size);

// The sample in a WAV file that passes the check; null for a missing or bad file.
ALLEGRO_SAMPLE* load_checked_sample(const std::string& file);
