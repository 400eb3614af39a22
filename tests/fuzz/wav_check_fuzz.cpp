// libFuzzer entry for the WAV structure check and Allegro's loader behind it: any byte string must get an
// answer, never a crash or a hang, and a sample that loads never holds more bytes than the file.
#include "resources/wav_check.h"

#include <allegro5/allegro.h>
#include <allegro5/allegro_acodec.h>
#include <allegro5/allegro_audio.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    al_install_system(ALLEGRO_VERSION_INT, nullptr);
    // Samples cannot be created until audio was installed once; a failed install is enough, and no device
    // is opened that would have to be closed before exit.
    setenv("ALSOFT_DRIVERS", "no-such-driver", 1);
    al_install_audio();
    al_init_acodec_addon();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ALLEGRO_SAMPLE* sample = sample_from_wav_bytes(data, size);
    if (!sample)
        return 0;
    const std::size_t bytes = al_get_sample_length(sample) * al_get_channel_count(al_get_sample_channels(sample)) *
                              al_get_audio_depth_size(al_get_sample_depth(sample));
    if (bytes > size)
        std::abort();
    al_destroy_sample(sample);
    return 0;
}
