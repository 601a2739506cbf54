// png2rgba IN.png OUT.rgba: decodes a PNG with the demo's own decoder and
// writes its raw RGBA8 pixels (rows top first, not flipped, width*4 bytes a
// row), then prints "WIDTH HEIGHT". Exit status: 0 success, 1 decode failure
// ("Decode png failed: " and the code), 2 wrong arguments or unreadable or
// unwritable files.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

#include "resources/PngReport.h"

namespace {

// The whole stream: one read of the size a file reports (a byte-wise stream iterator alone takes
// longer than decoding), then whatever follows, for pipes and files that report no size or grow.
std::vector<uint8_t> readAll(std::ifstream& in)
{
    std::vector<uint8_t> bytes;
    const std::streamoff size = in.seekg(0, std::ios::end) ? std::streamoff(in.tellg()) : -1;
    in.clear();
    if (size > 0 && in.seekg(0, std::ios::beg)) {
        bytes.resize(size_t(size));
        in.read(reinterpret_cast<char*>(bytes.data()), size);
        bytes.resize(size_t(in.gcount()));
    }
    in.clear();
    bytes.insert(bytes.end(), std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return bytes;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: png2rgba IN.png OUT.rgba" << std::endl;
        return 2;
    }
    std::error_code ignored;
    std::ifstream in;
    // Directories open as streams on Linux and then fail to read: refuse them first.
    if (!std::filesystem::is_directory(argv[1], ignored)) in.open(argv[1], std::ios::binary);
    if (!in.is_open()) {
        std::cerr << "png2rgba: cannot read " << argv[1] << std::endl;
        return 2;
    }
    const std::vector<uint8_t> file = readAll(in);
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
