// spng2rgba IN.png OUT.rgba: png2rgba's counterpart on libspng, for the
// whole-process comparison in png_bench: reads the file, decodes it to RGBA8
// (tRNS applied), writes the pixels and prints "WIDTH HEIGHT".
#include <spng.h>

#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 3) return 2;
    FILE* in = std::fopen(argv[1], "rb");
    if (!in) return 2;
    std::fseek(in, 0, SEEK_END);
    std::vector<unsigned char> file(size_t(std::ftell(in)));
    std::fseek(in, 0, SEEK_SET);
    const bool read = std::fread(file.data(), 1, file.size(), in) == file.size();
    std::fclose(in);
    if (!read) return 2;
    spng_ctx* ctx = spng_ctx_new(0);
    spng_set_png_buffer(ctx, file.data(), file.size());
    spng_ihdr ihdr{};
    size_t size = 0;
    if (spng_get_ihdr(ctx, &ihdr) || spng_decoded_image_size(ctx, SPNG_FMT_RGBA8, &size)) return 1;
    std::vector<unsigned char> pixels(size);
    if (spng_decode_image(ctx, pixels.data(), size, SPNG_FMT_RGBA8, SPNG_DECODE_TRNS)) return 1;
    spng_ctx_free(ctx);
    FILE* out = std::fopen(argv[2], "wb");
    if (!out || std::fwrite(pixels.data(), 1, size, out) != size || std::fclose(out) != 0) return 2;
    std::printf("%u %u\n", ihdr.width, ihdr.height);
    return 0;
}
