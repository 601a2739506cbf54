// png2rgba IN.png OUT.rgba: decodes a PNG with the demo's own decoder and
// writes its raw RGBA8 pixels (rows top first, not flipped, width*4 bytes a
// row), then prints "WIDTH HEIGHT". Exit status: 0 success, 1 decode failure
// ("Decode png failed: " and the code), 2 wrong arguments or unreadable or
// unwritable files.
#include <fstream>
#include <iostream>
#include <vector>

#include "resources/FileBytes.h"
#include "resources/PngReport.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: png2rgba IN.png OUT.rgba" << std::endl;
        return 2;
    }
    std::vector<uint8_t> file;
    if (!readWholeFile(argv[1], file)) {
        std::cerr << "png2rgba: cannot read " << argv[1] << std::endl;
        return 2;
    }
    std::vector<uint8_t> pixels;
    uint32_t width = 0;
    uint32_t height = 0;
    if (!decodePngReported(file, pixels, width, height)) return 1;
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(pixels.data()), static_cast<std::streamsize>(pixels.size()));
    out.close();
    if (!out) {
        std::cerr << "png2rgba: cannot write " << argv[2] << std::endl;
        return 2;
    }
    std::cout << width << " " << height << std::endl;
    return 0;
}
