// PNG decoder on hand-built files: the error codes the conformance suite does not reach (its table
// covers signature, colour type, bit depth, conversions, keys, palettes and filters), chunk
// handling, empty images and size limits.
#include <gtest/gtest.h>
#include <utility>
#include "resources/Png.h"
#include "support/PngBuilder.h"
#include "support/CountingNew.h"

namespace {

using namespace pngbuild;

int decode(const Bytes& file, Bytes& pixels)
{
    uint32_t width = 0, height = 0;
    return decodePng(file.data(), file.size(), pixels, width, height);
}

} // namespace

TEST(PngDecode, CraftedFilesGiveTheirCodesAndPixels)
{
    const Bytes grey = makePng(1, 1, 8, 0, {0, 0x80});
    const auto greyWith = [&grey](size_t index, uint8_t value) {
        Bytes f = grey;
        f[index] = value;
        return f;
    };
    const Bytes header = signatureAndHeader(1, 1, 8, 0);
    const Bytes idat = chunk("IDAT", deflate({0, 1})), twoEntries = chunk("PLTE", Bytes(6, 0));
    const Bytes rgba = deflate({0, 1, 2, 3, 4});
    const Bytes split = concat({signatureAndHeader(1, 1, 8, 6), chunk("IDAT", Bytes(rgba.begin(), rgba.begin() + 4)),
                                chunk("teXt", {'a', 'b'}), chunk("IDAT", Bytes(rgba.begin() + 4, rgba.end())),
                                chunk("IEND", {}), Bytes(13, 1)});
    const Bytes twoPalettes = concat({chunk("PLTE", Bytes(3, 0)), chunk("PLTE", {9, 9, 9, 7, 7, 7})});
    const struct {
        const char* what;
        Bytes file;
        int code;
        Bytes pixels = {}; // when the code is 0
    } cases[] = {
        {"cut inside IHDR", Bytes(grey.begin(), grey.begin() + 28), 27},
        {"first chunk not IHDR", greyWith(12, 'i'), 29},
        {"compression method", greyWith(26, 1), 32},
        {"filter method", greyWith(27, 1), 33},
        {"interlace method", greyWith(28, 2), 34},
        {"no IEND", concat({header, idat}), 30},
        {"chunk length over 2^31", concat({header, idat, {0x80, 0, 0, 0, 'I', 'E', 'N', 'D', 0, 0, 0, 0}}), 63},
        {"chunk data past the file", concat({header, idat, {0, 0, 0, 3, 't', 'E', 'X', 't', 'a', 'b'}}), 35},
        {"unknown critical chunk", makePng(1, 1, 8, 0, {0, 1}, chunk("ABCD", {})), 69},
        {"inflater code passes through", concat({header, chunk("IDAT", {0x78, 0x9D, 3, 0}), chunk("IEND", {})}), 24},
        {"palette of 257", makePng(1, 1, 8, 3, {0, 0}, chunk("PLTE", Bytes(3 * 257, 0))), 38},
        {"palette not of threes", makePng(1, 1, 8, 3, {0, 0}, chunk("PLTE", Bytes(4, 0))), 72},
        {"tRNS over the palette", makePng(1, 1, 8, 3, {0, 0}, concat({twoEntries, chunk("tRNS", {1, 2, 3})})), 39},
        {"grey tRNS of 3", makePng(1, 1, 8, 0, {0, 0}, chunk("tRNS", {0, 0, 0})), 40},
        {"RGB tRNS of 2", makePng(1, 1, 8, 2, {0, 0, 0, 0}, chunk("tRNS", {0, 0})), 41},
        {"grey-alpha tRNS", makePng(1, 1, 8, 4, {0, 0, 0}, chunk("tRNS", {0, 0})), 42},
        {"2-bit index past the palette", makePng(2, 1, 2, 3, {0, 0x20}, twoEntries), 47},
        {"8-bit index without a palette", makePng(1, 1, 8, 3, {0, 0}), 46},
        // Size limits reject before allocating; a product that wraps 64 bits times 4 must not slip.
        {"4 G squared, 16 bits", makePng(0xFFFFFFFFu, 0xFFFFFFFFu, 16, 6, {0}), 70},
        {"8193 x 8192", makePng(8193, 8192, 8, 0, {0}), 70},
        {"4 G filter bytes", makePng(0, 0xFFFFFFFFu, 8, 0, {0}), 70},
        {"one byte short", makePng(2, 2, 8, 0, {0, 1, 2, 0, 3}), 71},
        {"interlaced one byte short", makePng(2, 2, 8, 0, {0, 1, 0, 2, 0, 3}, {}, 1), 71},
        {"empty columns keep filter bytes", makePng(0, 3, 8, 6, {0, 1, 5}), 36},
        {"PLTE twice: the later wins", makePng(2, 1, 1, 3, {0, 0x40}, twoPalettes), 0, {9, 9, 9, 255, 7, 7, 7, 255}},
        {"IDAT split around teXt, junk after IEND", split, 0, {1, 2, 3, 4}},
        // Empty images decode to no pixels; a zero-width interlaced image of 4 G rows needs no
        // data and must not be walked row by row (found by fuzzing).
        {"empty", makePng(0, 3, 8, 6, {0, 1, 4}), 0},
        {"empty, 4 G rows", makePng(0, 0xFFFFFFFFu, 2, 3, {}, chunk("PLTE", Bytes(3, 0)), 1), 0},
        // An 8-bit grey sample is keyed against the whole 16-bit key: 0x0100 matches nothing.
        {"8-bit key 0", makePng(2, 1, 8, 0, {0, 0, 9}, chunk("tRNS", {0, 0})), 0, {0, 0, 0, 0, 9, 9, 9, 255}},
        {"8-bit key 0x0100", makePng(1, 1, 8, 0, {0, 1}, chunk("tRNS", {1, 0})), 0, {1, 1, 1, 255}},
        // A 16-bit grey sample is keyed on both bytes, though only the high one is kept.
        {"16 bits",
         makePng(3, 1, 16, 0, {0, 1, 2, 1, 3, 2, 2}, chunk("tRNS", {1, 2})),
         0,
         {1, 1, 1, 0, 1, 1, 1, 255, 2, 2, 2, 255}},
    };
    Bytes pixels;
    for (const auto& c : cases) {
        EXPECT_EQ(decode(c.file, pixels), c.code) << c.what;
        if (c.code == 0) {
            EXPECT_EQ(pixels, c.pixels) << c.what;
        }
    }
    uint32_t width = 0, height = 0;
    EXPECT_EQ(decodePng(nullptr, 0, pixels, width, height), 48);
    EXPECT_EQ(decodePng(grey.data(), 0, pixels, width, height), 48); // a buffer, but no bytes of it
}

// A 1x1 image whose stream holds 16 MB of zeros decodes as before (the extra data is ignored), and
// no buffer grows past what the image needs: the inflater keeps only the image's bytes.
TEST(PngDecode, AStreamLongerThanTheImageNeedsNoMoreMemoryThanTheImage)
{
    Bytes filtered(16 << 20, 0);
    filtered[1] = 0x80;
    const Bytes file = makePng(1, 1, 8, 0, filtered);
    Bytes pixels;
    g_largestAllocation = 0;
    EXPECT_EQ(decode(file, pixels), 0);
    EXPECT_EQ(pixels, Bytes({0x80, 0x80, 0x80, 255}));
    if (ZEMBLAR_COUNT_ALLOCATIONS) {
        EXPECT_LT(g_largestAllocation.load(), 4 * file.size());
    }
}
