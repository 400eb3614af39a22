// libFuzzer entry for the WAV structure check: any byte string must get an answer, never a crash or a hang.
#include "resources/wav_check.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    wav_bytes_are_sound(data, size);
    return 0;
}
