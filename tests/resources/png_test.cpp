// PNG decoder tests on hand-built files: the error codes the conformance suite does not reach (its
// table checks signature, colour type, bit depth and missing-data codes), sample conversion rules,
// colour keys and palettes, chunk handling, size limits and the Paeth predictor's ties.
#include <gtest/gtest.h>

#include "resources/Png.h"
#include "resources/PngUnfilter.h"
#include "PngWriter.h"

using namespace pngtest;

namespace {

struct Decoded {
    int error = 0;
    Bytes pixels;
    uint32_t width = 0, height = 0;
};

Decoded decode(const Bytes& file)
{
    Decoded d;
    d.error = decodePng(file.data(), file.size(), d.pixels, d.width, d.height);
    return d;
}

// Every n-th byte of the decoded pixels from `first` on (0: red or grey, 3: alpha).
Bytes channel(const Bytes& file, size_t first)
{
    const Bytes px = decode(file).pixels;
    Bytes out;
    for (size_t i = first; i < px.size(); i += 4) out.push_back(px[i]);
    return out;
}

Bytes palette(int entries)
{
    Bytes p;
    for (int i = 0; i < entries; ++i) p.insert(p.end(), {uint8_t(i), uint8_t(2 * i), uint8_t(3 * i)});
    return p;
}

Bytes concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts) append(out, p);
    return out;
}

// A valid 1x1 grey image with one byte changed.
Bytes tinyGreyWith(size_t index, uint8_t value)
{
    Bytes f = makePng(1, 1, 8, 0, {0, 0x80});
    f[index] = value;
    return f;
}

}  // namespace

TEST(PngDecode, CraftedFilesGiveTheirErrorCodes)
{
    const Bytes grey = makePng(1, 1, 8, 0, {0, 0x80});
    const Bytes header = signatureAndHeader(1, 1, 8, 0);
    const Bytes idat = chunk("IDAT", storedZlib({0, 1}));
    Bytes both = tinyGreyWith(25, 5);  // a bad colour type and a bad compression method
    both[26] = 1;
    const struct {
        const char* what;
        Bytes file;
        int code;
    } cases[] = {
        {"empty", {}, 48},
        {"cut inside IHDR", Bytes(grey.begin(), grey.begin() + 28), 27},
        {"first chunk not IHDR", tinyGreyWith(12, 'i'), 29},
        {"compression method", tinyGreyWith(26, 1), 32},
        {"filter method", tinyGreyWith(27, 1), 33},
        {"interlace method", tinyGreyWith(28, 2), 34},
        {"RGB depth 4", makePng(1, 1, 4, 2, {0, 0, 0, 0}), 37},
        {"palette depth 16", makePng(1, 1, 16, 3, {0, 0, 0}), 37},
        {"compression before colour type", both, 32},
        {"no IEND", concat({header, idat}), 30},
        {"chunk length over 2^31", concat({header, idat, {0x80, 0, 0, 0, 'I', 'E', 'N', 'D', 0, 0, 0, 0}}), 63},
        {"chunk data past the file", concat({header, idat, {0, 0, 0, 3, 't', 'E', 'X', 't', 'a', 'b'}}), 35},
        {"chunk CRC past the file", concat({header, idat, {0, 0, 0, 3, 't', 'E', 'X', 't', 'a', 'b', 'c'}}), 30},
        {"unknown critical chunk", makePng(1, 1, 8, 0, {0, 1}, chunk("ABCD", {})), 69},
        {"second IHDR", makePng(1, 1, 8, 0, {0, 1}, chunk("IHDR", Bytes(13, 0))), 69},
        {"filter type 5", makePng(1, 1, 8, 0, {5, 1}), 36},
        {"inflater code passes through", concat({header, chunk("IDAT", {0x78, 0x9D, 3, 0}), chunk("IEND", {})}), 24},
        {"palette of 257", makePng(1, 1, 8, 3, {0, 0}, chunk("PLTE", palette(257))), 38},
        {"palette not of threes", makePng(1, 1, 8, 3, {0, 0}, chunk("PLTE", Bytes(4, 0))), 72},
        {"tRNS before PLTE", makePng(1, 1, 8, 3, {0, 0}, chunk("tRNS", {1})), 39},
        {"tRNS over the palette", makePng(1, 1, 8, 3, {0, 0}, concat({chunk("PLTE", palette(2)), chunk("tRNS", {1, 2, 3})})), 39},
        {"grey tRNS of 3", makePng(1, 1, 8, 0, {0, 0}, chunk("tRNS", {0, 0, 0})), 40},
        {"RGB tRNS of 2", makePng(1, 1, 8, 2, {0, 0, 0, 0}, chunk("tRNS", {0, 0})), 41},
        {"grey-alpha tRNS", makePng(1, 1, 8, 4, {0, 0, 0}, chunk("tRNS", {0, 0})), 42},
        {"RGBA tRNS", makePng(1, 1, 8, 6, {0, 0, 0, 0, 0}, chunk("tRNS", {0, 0})), 42},
        {"2-bit index past the palette", makePng(2, 1, 2, 3, {0, 0x20}, chunk("PLTE", palette(2))), 47},
        {"no palette at all", makePng(1, 1, 8, 3, {0, 0}), 46},
        // Size limits reject before allocating; products that wrap 64 bits times 4 must not slip.
        {"70000 squared", makePng(70000, 70000, 8, 6, {0}), 70},
        {"4 G squared, 16 bits", makePng(0xFFFFFFFFu, 0xFFFFFFFFu, 16, 6, {0}), 70},
        {"2 G squared", makePng(0x80000000u, 0x80000000u, 8, 0, {0}), 70},
        {"8193 x 8192", makePng(8193, 8192, 8, 0, {0}), 70},
        {"4 G filter bytes", makePng(0, 0xFFFFFFFFu, 8, 0, {0}), 70},
        {"far too little data", makePng(8000, 8000, 8, 6, {0, 1, 2, 3, 4}), 71},
        {"one byte short", makePng(2, 2, 8, 0, {0, 1, 2, 0, 3}), 71},
        {"interlaced one byte short", makePng(2, 2, 8, 0, {0, 1, 0, 2, 0, 3}, {}, 1), 71},
        {"empty columns keep filter bytes", makePng(0, 3, 8, 6, {0, 1, 5}), 36},
    };
    for (const auto& c : cases) EXPECT_EQ(decode(c.file).error, c.code) << c.what;
    Bytes pixels;
    uint32_t width = 0, height = 0;
    EXPECT_EQ(decodePng(nullptr, 0, pixels, width, height), 48);
    EXPECT_EQ(decodePng(grey.data(), 0, pixels, width, height), 48);  // a buffer, but no bytes of it

    // Index 2 of a two-entry palette: the error comes after the first pixel was written.
    Decoded eight = decode(makePng(2, 1, 8, 3, {0, 1, 2}, chunk("PLTE", palette(2))));
    EXPECT_EQ(eight.error, 46);
    EXPECT_EQ(Bytes(eight.pixels.begin(), eight.pixels.begin() + 4), Bytes({1, 2, 3, 255}));
}

TEST(PngDecode, SampleConversionKeysAndPalettes)
{
    const Bytes rgba = storedZlib({0, 1, 2, 3, 4});
    const Bytes twoPalettes = concat({chunk("PLTE", palette(1)), chunk("PLTE", {9, 9, 9, 7, 7, 7})});
    const struct {
        Bytes file, pixels;
    } cases[] = {
        {makePng(1, 1, 8, 6, {0, 1, 2, 3, 4}), {1, 2, 3, 4}},
        {makePng(1, 1, 16, 6, {0, 0x12, 0xAB, 0x34, 0xCD, 0x56, 0xEF, 0x78, 0x01}), {0x12, 0x34, 0x56, 0x78}},
        {makePng(1, 1, 16, 2, {0, 0x12, 0xAB, 0x34, 0xCD, 0x56, 0xEF}), {0x12, 0x34, 0x56, 255}},
        {makePng(1, 1, 16, 0, {0, 0x12, 0xAB}), {0x12, 0x12, 0x12, 255}},
        {makePng(1, 1, 8, 4, {0, 0x40, 0x90}), {0x40, 0x40, 0x40, 0x90}},
        {makePng(1, 1, 16, 4, {0, 0x40, 1, 0x90, 2}), {0x40, 0x40, 0x40, 0x90}},
        {makePng(1, 1, 8, 2, {0, 7, 8, 9}), {7, 8, 9, 255}},
        {tinyGreyWith(11, 99), {0x80, 0x80, 0x80, 255}},  // the IHDR length field is not read
        // Palette alpha from a short tRNS; a later PLTE replaces the earlier one (1-bit indices).
        {makePng(3, 1, 8, 3, {0, 0, 1, 2}, concat({chunk("PLTE", palette(3)), chunk("tRNS", {10})})),
         {0, 0, 0, 10, 1, 2, 3, 255, 2, 4, 6, 255}},
        {makePng(2, 1, 1, 3, {0, 0x40}, twoPalettes), {9, 9, 9, 255, 7, 7, 7, 255}},
        // Interlaced 2x2: passes 1, 6 and 7 hold 2 + 2 + 3 bytes.
        {makePng(2, 2, 8, 0, {0, 1, 0, 2, 0, 3, 4}, {}, 1), {1, 1, 1, 255, 2, 2, 2, 255, 3, 3, 3, 255, 4, 4, 4, 255}},
        // IDAT split around an ancillary chunk; junk after IEND.
        {concat({signatureAndHeader(1, 1, 8, 6), chunk("IDAT", Bytes(rgba.begin(), rgba.begin() + 4)),
                 chunk("teXt", {'a', 'b'}), chunk("IDAT", Bytes(rgba.begin() + 4, rgba.end())), chunk("IEND", {}),
                 Bytes(13, 1)}),
         {1, 2, 3, 4}},
        // Empty images decode to no pixels; a zero-width interlaced image of 4 G rows needs no
        // data and must not be walked row by row (found by fuzzing).
        {makePng(0, 3, 8, 6, {0, 1, 4}), {}},
        {makePng(5, 0, 8, 2, {}), {}},
        {makePng(0, 7, 1, 0, {}, {}, 1), {}},
        {makePng(0, 0xFFFFFFFFu, 2, 3, {}, chunk("PLTE", palette(1)), 1), {}},
    };
    for (const auto& c : cases) {
        const Decoded d = decode(c.file);
        EXPECT_EQ(d.error, 0);
        EXPECT_EQ(d.pixels, c.pixels);
    }

    // Sub-byte greys scale to 0..255; rows drop their fill bits (3 pixels of 2 bits, 2 rows).
    EXPECT_EQ(channel(makePng(3, 1, 1, 0, {0, 0xA0}), 0), Bytes({255, 0, 255}));
    EXPECT_EQ(channel(makePng(4, 1, 2, 0, {0, 0x1B}), 0), Bytes({0, 85, 170, 255}));
    EXPECT_EQ(channel(makePng(3, 1, 4, 0, {0, 0x0F, 0x70}), 0), Bytes({0, 255, 119}));
    EXPECT_EQ(channel(makePng(3, 2, 2, 0, {0, 0xE7, 1, 0x1B}), 0), Bytes({255, 170, 85, 0, 85, 170}));

    // Colour keys: an 8-bit sample against the whole 16-bit key; below 8 bits the key matches the
    // sample as stored (15), not the scaled 255.
    const std::pair<Bytes, Bytes> keys[] = {
        {makePng(3, 1, 8, 0, {0, 0, 9, 0}, chunk("tRNS", {0, 0})), {0, 255, 0}},
        {makePng(2, 1, 8, 0, {0, 0, 1}, chunk("tRNS", {1, 0})), {255, 255}},
        {makePng(2, 1, 4, 0, {0, 0xF3}, chunk("tRNS", {0, 15})), {0, 255}},
        {makePng(2, 1, 16, 0, {0, 0x12, 0x34, 0x12, 0x35}, chunk("tRNS", {0x12, 0x34})), {0, 255}},
        {makePng(2, 1, 8, 2, {0, 1, 2, 3, 1, 2, 4}, chunk("tRNS", {0, 1, 0, 2, 0, 3})), {0, 255}},
        {makePng(2, 1, 16, 2, {0, 1, 0, 2, 0, 3, 0, 1, 0, 2, 0, 3, 1}, chunk("tRNS", {1, 0, 2, 0, 3, 0})), {0, 255}},
    };
    for (const auto& [file, alphas] : keys) EXPECT_EQ(channel(file, 3), alphas);
}

TEST(PngDecode, PaethPredictorTies)
{
    // {left, up, up-left, expected}: ties go to left, then up, then up-left.
    const int cases[][4] = {{10, 10, 10, 10}, {5, 9, 7, 7}, {1, 3, 2, 2}, {4, 2, 3, 3}, {100, 0, 50, 50},
                            {2, 6, 0, 6},     {6, 2, 0, 6}, {3, 5, 4, 4}, {0, 255, 255, 0}, {255, 0, 0, 255}};
    for (const auto& c : cases) EXPECT_EQ(paethPredictor(c[0], c[1], c[2]), c[3]) << c[0] << " " << c[1] << " " << c[2];
}
