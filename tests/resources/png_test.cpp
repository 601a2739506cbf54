// PNG decoder tests on hand-built files: every decoder error code, sample
// conversion rules, colour keys and palettes, chunk handling and size limits.
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

int errorOf(const Bytes& file) { return decode(file).error; }

// A valid 1x1 grey image, to be tampered with.
Bytes tinyGrey() { return makePng(1, 1, 8, 0, {0, 0x80}); }

Bytes palette(int entries)
{
    Bytes p;
    for (int i = 0; i < entries; ++i) p.insert(p.end(), {uint8_t(i), uint8_t(2 * i), uint8_t(3 * i)});
    return p;
}

}  // namespace

TEST(PngDecode, HeaderErrors)
{
    Bytes pixels;
    uint32_t width = 0, height = 0;
    EXPECT_EQ(decodePng(nullptr, 0, pixels, width, height), 48);
    const Bytes good = tinyGrey();
    EXPECT_EQ(decodePng(good.data(), 0, pixels, width, height), 48);
    EXPECT_EQ(errorOf(Bytes(good.begin(), good.begin() + 28)), 27);
    Bytes noSignature = good;
    noSignature[1] = 'Q';
    EXPECT_EQ(errorOf(noSignature), 28);
    Bytes noIhdr = good;
    noIhdr[12] = 'i';
    EXPECT_EQ(errorOf(noIhdr), 29);
    auto withHeader = [&](int index, uint8_t value) {
        Bytes f = good;
        f[size_t(index)] = value;
        return errorOf(f);
    };
    EXPECT_EQ(withHeader(26, 1), 32);
    EXPECT_EQ(withHeader(27, 1), 33);
    EXPECT_EQ(withHeader(28, 2), 34);
    EXPECT_EQ(withHeader(25, 5), 31);
    EXPECT_EQ(withHeader(25, 1), 31);
    EXPECT_EQ(withHeader(24, 3), 37);
    EXPECT_EQ(errorOf(makePng(1, 1, 4, 2, {0, 0, 0, 0})), 37);   // RGB needs 8 or 16
    EXPECT_EQ(errorOf(makePng(1, 1, 16, 3, {0, 0, 0})), 37);     // palette stops at 8
    // The compression method is tested before the colour type.
    Bytes both = good;
    both[25] = 5;
    both[26] = 1;
    EXPECT_EQ(errorOf(both), 32);
}

TEST(PngDecode, IhdrLengthFieldIsNotRead)
{
    Bytes f = tinyGrey();
    f[11] = 99;  // IHDR length field
    Decoded d = decode(f);
    EXPECT_EQ(d.error, 0);
    EXPECT_EQ(d.pixels, Bytes({0x80, 0x80, 0x80, 255}));
}

TEST(PngDecode, ChunkLoopErrors)
{
    Bytes noEnd = signatureAndHeader(1, 1, 8, 0);
    append(noEnd, chunk("IDAT", storedZlib({0, 1})));
    EXPECT_EQ(errorOf(noEnd), 30);

    Bytes huge = signatureAndHeader(1, 1, 8, 0);
    append(huge, chunk("IDAT", storedZlib({0, 1})));
    append(huge, {0x80, 0, 0, 0, 'I', 'E', 'N', 'D', 0, 0, 0, 0});
    EXPECT_EQ(errorOf(huge), 63);

    // A chunk whose data would run even one byte past the file fails at once.
    Bytes pastEnd = signatureAndHeader(1, 1, 8, 0);
    append(pastEnd, chunk("IDAT", storedZlib({0, 1})));
    append(pastEnd, {0, 0, 0, 3, 't', 'E', 'X', 't', 'a', 'b'});
    EXPECT_EQ(errorOf(pastEnd), 35);
    pastEnd.push_back('c');  // now the data fits, the CRC does not: the loop runs out
    EXPECT_EQ(errorOf(pastEnd), 30);

    EXPECT_EQ(errorOf(makePng(1, 1, 8, 0, {0, 1}, chunk("ABCD", {}))), 69);
    EXPECT_EQ(errorOf(makePng(1, 1, 8, 0, {0, 1}, chunk("IHDR", Bytes(13, 0)))), 69);
    EXPECT_EQ(errorOf(makePng(1, 1, 8, 0, {5, 1})), 36);

    Bytes noData = signatureAndHeader(1, 1, 8, 0);
    append(noData, chunk("IEND", {}));
    EXPECT_EQ(errorOf(noData), 53);

    // Inflater codes pass through unchanged.
    Bytes badZlib = signatureAndHeader(1, 1, 8, 0);
    append(badZlib, chunk("IDAT", {0x78, 0x9D, 0x03, 0x00}));
    append(badZlib, chunk("IEND", {}));
    EXPECT_EQ(errorOf(badZlib), 24);
}

TEST(PngDecode, PaletteAndTransparencyErrors)
{
    EXPECT_EQ(errorOf(makePng(1, 1, 8, 3, {0, 0}, chunk("PLTE", palette(257)))), 38);
    EXPECT_EQ(errorOf(makePng(1, 1, 8, 3, {0, 0}, chunk("PLTE", Bytes(4, 0)))), 72);
    // tRNS before PLTE, and tRNS longer than the palette.
    EXPECT_EQ(errorOf(makePng(1, 1, 8, 3, {0, 0}, chunk("tRNS", {1}))), 39);
    Bytes longer = chunk("PLTE", palette(2));
    append(longer, chunk("tRNS", {1, 2, 3}));
    EXPECT_EQ(errorOf(makePng(1, 1, 8, 3, {0, 0}, longer)), 39);
    EXPECT_EQ(errorOf(makePng(1, 1, 8, 0, {0, 0}, chunk("tRNS", {0, 0, 0}))), 40);
    EXPECT_EQ(errorOf(makePng(1, 1, 8, 2, {0, 0, 0, 0}, chunk("tRNS", {0, 0}))), 41);
    EXPECT_EQ(errorOf(makePng(1, 1, 8, 4, {0, 0, 0}, chunk("tRNS", {0, 0}))), 42);
    EXPECT_EQ(errorOf(makePng(1, 1, 8, 6, {0, 0, 0, 0, 0}, chunk("tRNS", {0, 0}))), 42);

    // Index 2 of a two-entry palette; the first pixel is still written.
    Decoded eight = decode(makePng(2, 1, 8, 3, {0, 1, 2}, chunk("PLTE", palette(2))));
    EXPECT_EQ(eight.error, 46);
    EXPECT_EQ(Bytes(eight.pixels.begin(), eight.pixels.begin() + 4), Bytes({1, 2, 3, 255}));
    EXPECT_EQ(errorOf(makePng(2, 1, 2, 3, {0, 0x20}, chunk("PLTE", palette(2)))), 47);
    EXPECT_EQ(errorOf(makePng(1, 1, 8, 3, {0, 0})), 46);  // no palette at all
}

TEST(PngDecode, SizeLimitsRejectBeforeAllocating)
{
    EXPECT_EQ(errorOf(makePng(70000, 70000, 8, 6, {0})), 70);
    EXPECT_EQ(errorOf(makePng(0xFFFFFFFFu, 0xFFFFFFFFu, 16, 6, {0})), 70);
    // Products that wrap 64 bits when multiplied by 4 must not slip through.
    EXPECT_EQ(errorOf(makePng(0x80000000u, 0x80000000u, 8, 0, {0})), 70);
    EXPECT_EQ(errorOf(makePng(8193, 8192, 8, 0, {0})), 70);
    EXPECT_EQ(errorOf(makePng(0, 0xFFFFFFFFu, 8, 0, {0})), 70);  // 4 G filter bytes
    // Fits the limits but the data is far too short: no huge buffer, code 71.
    EXPECT_EQ(errorOf(makePng(8000, 8000, 8, 6, {0, 1, 2, 3, 4})), 71);
    EXPECT_EQ(errorOf(makePng(2, 2, 8, 0, {0, 1, 2, 0, 3})), 71);
    // Interlaced 2x2: passes 1, 6 and 7 hold 2 + 2 + 3 bytes.
    EXPECT_EQ(errorOf(makePng(2, 2, 8, 0, {0, 1, 0, 2, 0, 3}, {}, 1)), 71);
    EXPECT_EQ(decode(makePng(2, 2, 8, 0, {0, 1, 0, 2, 0, 3, 4}, {}, 1)).pixels,
              Bytes({1, 1, 1, 255, 2, 2, 2, 255, 3, 3, 3, 255, 4, 4, 4, 255}));
}

TEST(PngDecode, EmptyImages)
{
    Decoded noColumns = decode(makePng(0, 3, 8, 6, {0, 1, 4}));
    EXPECT_EQ(noColumns.error, 0);
    EXPECT_EQ(noColumns.width, 0u);
    EXPECT_EQ(noColumns.height, 3u);
    EXPECT_TRUE(noColumns.pixels.empty());
    EXPECT_EQ(errorOf(makePng(0, 3, 8, 6, {0, 1, 5})), 36);  // filter bytes still count
    Decoded noRows = decode(makePng(5, 0, 8, 2, {}));
    EXPECT_EQ(noRows.error, 0);
    EXPECT_TRUE(noRows.pixels.empty());
    EXPECT_EQ(decode(makePng(0, 7, 1, 0, {}, {}, 1)).error, 0);  // every pass empty
    // Found by fuzzing: a zero-width interlaced image needs no data, so a
    // height of 4 G rows must not be walked row by row.
    Decoded tall = decode(makePng(0, 0xFFFFFFFFu, 2, 3, {}, chunk("PLTE", palette(1)), 1));
    EXPECT_EQ(tall.error, 0);
    EXPECT_TRUE(tall.pixels.empty());
}

TEST(PngDecode, SampleConversion)
{
    EXPECT_EQ(decode(makePng(1, 1, 8, 6, {0, 1, 2, 3, 4})).pixels, Bytes({1, 2, 3, 4}));
    EXPECT_EQ(decode(makePng(1, 1, 16, 6, {0, 0x12, 0xAB, 0x34, 0xCD, 0x56, 0xEF, 0x78, 0x01})).pixels,
              Bytes({0x12, 0x34, 0x56, 0x78}));
    EXPECT_EQ(decode(makePng(1, 1, 16, 2, {0, 0x12, 0xAB, 0x34, 0xCD, 0x56, 0xEF})).pixels,
              Bytes({0x12, 0x34, 0x56, 255}));
    EXPECT_EQ(decode(makePng(1, 1, 16, 0, {0, 0x12, 0xAB})).pixels, Bytes({0x12, 0x12, 0x12, 255}));
    EXPECT_EQ(decode(makePng(1, 1, 8, 4, {0, 0x40, 0x90})).pixels, Bytes({0x40, 0x40, 0x40, 0x90}));
    EXPECT_EQ(decode(makePng(1, 1, 16, 4, {0, 0x40, 1, 0x90, 2})).pixels, Bytes({0x40, 0x40, 0x40, 0x90}));
    EXPECT_EQ(decode(makePng(1, 1, 8, 2, {0, 7, 8, 9})).pixels, Bytes({7, 8, 9, 255}));

    auto greys = [](uint8_t depth, uint32_t width, Bytes row) {
        row.insert(row.begin(), 0);
        Bytes px = decode(makePng(width, 1, depth, 0, row)).pixels;
        Bytes out;
        for (size_t i = 0; i < px.size(); i += 4) out.push_back(px[i]);
        return out;
    };
    EXPECT_EQ(greys(1, 3, {0xA0}), Bytes({255, 0, 255}));
    EXPECT_EQ(greys(2, 4, {0x1B}), Bytes({0, 85, 170, 255}));
    EXPECT_EQ(greys(4, 3, {0x0F, 0x70}), Bytes({0, 255, 119}));
}

TEST(PngDecode, RowsOfPackedSamplesDropTheirFillBits)
{
    // 3 pixels of 2 bits: 6 bits a row, two fill bits that must not shift row 2.
    Decoded d = decode(makePng(3, 2, 2, 0, {0, 0xE7, 1, 0x1B}));
    ASSERT_EQ(d.error, 0);
    const Bytes expected = {255, 170, 85, 0, 85, 170};
    for (size_t i = 0; i < 6; ++i) EXPECT_EQ(d.pixels[4 * i], expected[i]) << i;
}

TEST(PngDecode, ColourKeys)
{
    auto alphas = [](const Decoded& d) {
        Bytes out;
        for (size_t i = 3; i < d.pixels.size(); i += 4) out.push_back(d.pixels[i]);
        return out;
    };
    EXPECT_EQ(alphas(decode(makePng(3, 1, 8, 0, {0, 0, 9, 0}, chunk("tRNS", {0, 0})))), Bytes({0, 255, 0}));
    // An 8-bit sample is compared with the whole 16-bit key.
    EXPECT_EQ(alphas(decode(makePng(2, 1, 8, 0, {0, 0, 1}, chunk("tRNS", {1, 0})))), Bytes({255, 255}));
    // Below 8 bits the key matches the sample as stored (15), not the scaled 255.
    EXPECT_EQ(alphas(decode(makePng(2, 1, 4, 0, {0, 0xF3}, chunk("tRNS", {0, 15})))), Bytes({0, 255}));
    EXPECT_EQ(alphas(decode(makePng(2, 1, 16, 0, {0, 0x12, 0x34, 0x12, 0x35}, chunk("tRNS", {0x12, 0x34})))),
              Bytes({0, 255}));
    EXPECT_EQ(alphas(decode(makePng(2, 1, 8, 2, {0, 1, 2, 3, 1, 2, 4}, chunk("tRNS", {0, 1, 0, 2, 0, 3})))),
              Bytes({0, 255}));
    EXPECT_EQ(alphas(decode(makePng(2, 1, 16, 2, {0, 1, 0, 2, 0, 3, 0, 1, 0, 2, 0, 3, 1},
                                    chunk("tRNS", {1, 0, 2, 0, 3, 0})))),
              Bytes({0, 255}));
}

TEST(PngDecode, PaletteAlpha)
{
    Bytes middle = chunk("PLTE", palette(3));
    append(middle, chunk("tRNS", {10}));
    Decoded d = decode(makePng(3, 1, 8, 3, {0, 0, 1, 2}, middle));
    ASSERT_EQ(d.error, 0);
    EXPECT_EQ(d.pixels, Bytes({0, 0, 0, 10, 1, 2, 3, 255, 2, 4, 6, 255}));
    // A later PLTE replaces the earlier one; 1-bit indices.
    Bytes twice = chunk("PLTE", palette(1));
    append(twice, chunk("PLTE", {9, 9, 9, 7, 7, 7}));
    EXPECT_EQ(decode(makePng(2, 1, 1, 3, {0, 0x40}, twice)).pixels, Bytes({9, 9, 9, 255, 7, 7, 7, 255}));
}

TEST(PngDecode, ChunkHandling)
{
    // IDAT split in two with an ancillary chunk between; junk after IEND.
    const Bytes stream = storedZlib({0, 1, 2, 3, 4});
    Bytes f = signatureAndHeader(1, 1, 8, 6);
    append(f, chunk("IDAT", Bytes(stream.begin(), stream.begin() + 4)));
    append(f, chunk("teXt", {'a', 'b'}));
    append(f, chunk("IDAT", Bytes(stream.begin() + 4, stream.end())));
    append(f, chunk("IEND", {}));
    append(f, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13});
    Decoded d = decode(f);
    EXPECT_EQ(d.error, 0);
    EXPECT_EQ(d.pixels, Bytes({1, 2, 3, 4}));
}

TEST(PngDecode, FiltersAgree)
{
    // The same 3x3 RGB picture sent with each filter type on rows 2 and 3.
    const uint8_t img[3][9] = {{10, 20, 30, 200, 100, 50, 7, 250, 3},
                               {12, 22, 29, 201, 90, 60, 255, 0, 128},
                               {0, 255, 1, 254, 2, 253, 3, 252, 4}};
    Bytes expected;
    for (auto& row : img)
        for (int x = 0; x < 3; ++x) expected.insert(expected.end(), {row[3 * x], row[3 * x + 1], row[3 * x + 2], 255});
    for (uint8_t type = 0; type <= 4; ++type) {
        Bytes data;
        for (int y = 0; y < 3; ++y) {
            data.push_back(type);
            for (int i = 0; i < 9; ++i) {
                const int left = i >= 3 ? img[y][i - 3] : 0;
                const int up = y ? img[y - 1][i] : 0;
                const int upLeft = (y && i >= 3) ? img[y - 1][i - 3] : 0;
                int predictor = 0;
                if (type == 1) predictor = left;
                if (type == 2) predictor = up;
                if (type == 3) predictor = (left + up) / 2;
                if (type == 4) predictor = paethPredictor(left, up, upLeft);
                data.push_back(uint8_t(img[y][i] - predictor));
            }
        }
        SCOPED_TRACE(int(type));
        EXPECT_EQ(decode(makePng(3, 3, 8, 2, data)).pixels, expected);
    }
}

TEST(PngDecode, PaethPredictorTies)
{
    EXPECT_EQ(paethPredictor(10, 10, 10), 10);   // all equal: left
    EXPECT_EQ(paethPredictor(5, 9, 7), 7);       // p = 7: up-left exact
    EXPECT_EQ(paethPredictor(1, 3, 2), 2);       // p = 2: dL = dU = 1, dUL = 0
    EXPECT_EQ(paethPredictor(4, 2, 3), 3);       // p = 3: tie L/U at 1, UL at 0
    EXPECT_EQ(paethPredictor(100, 0, 50), 50);   // p = 50
    EXPECT_EQ(paethPredictor(2, 6, 0), 6);       // p = 8: dL 6, dU 2, dUL 8 -> up
    EXPECT_EQ(paethPredictor(6, 2, 0), 6);       // p = 8: dL 2, dU 6 -> left
    EXPECT_EQ(paethPredictor(3, 5, 4), 4);       // p = 4: dL = dU = 1, dUL = 0
    EXPECT_EQ(paethPredictor(0, 255, 255), 0);   // p = 0: left exact
    EXPECT_EQ(paethPredictor(255, 0, 0), 255);
}
