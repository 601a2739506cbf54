// Fuzz target: the PNG decoder on arbitrary bytes. On success the pixel
// buffer must hold exactly width*height*4 bytes.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "resources/Png.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> pixels;
    uint32_t width = 0;
    uint32_t height = 0;
    const int error = decodePng(data, size, pixels, width, height);
    if (error == 0 && pixels.size() != size_t(width) * height * 4) __builtin_trap();
    return 0;
}
