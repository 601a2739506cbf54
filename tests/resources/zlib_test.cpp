// Inflater tests: zlib itself as the oracle for well-formed streams, and hand-built bit streams
// for the edge cases and every reachable error code.
#include <gtest/gtest.h>
#include <utility>
#include "resources/Zlib.h"
#include "support/PngBuilder.h"

namespace {

using namespace pngbuild;

Bytes inflateOk(const Bytes& stream)
{
    Bytes out;
    EXPECT_EQ(zlibDecompress(stream, out), 0);
    return out;
}

// Writes bits least significant first and Huffman codes most significant first, after a zlib
// header that passes every check. Every step returns the writer, so a stream reads as one chain.
struct BitWriter {
    Bytes bytes;
    size_t bits = 0;
    BitWriter() { put(0x0178, 16); } // the header bytes 0x78 0x01
    BitWriter& put(uint32_t value, unsigned count, bool msbFirst = false)
    {
        for (unsigned i = 0; i < count; ++i, ++bits) {
            if (bits % 8 == 0) bytes.push_back(0);
            bytes.back() |= uint8_t(((value >> (msbFirst ? count - 1 - i : i)) & 1) << bits % 8);
        }
        return *this;
    }
    BitWriter& code(uint32_t value, unsigned length) { return put(value, length, true); }
    BitWriter& block(bool final, unsigned type) { return put(final | type << 1, 3); }
    // Zero bytes after the stream, so that the inflater's fast path meets what precedes them.
    BitWriter& pad() { return put(0, 32).put(0, 32).put(0, 32).put(0, 32); }
    // The fixed literal/length codes of the symbols.
    BitWriter& fixed(std::initializer_list<unsigned> symbols)
    {
        for (unsigned s : symbols)
            s < 144   ? code(0x30 + s, 8)
            : s < 256 ? code(0x190 + s - 144, 9)
            : s < 280 ? code(s - 256, 7)
                      : code(0xC0 + s - 280, 8);
        return *this;
    }
};

// `count` code-length symbols, all 0 but the listed ones.
std::vector<uint32_t> lengths(size_t count, std::initializer_list<std::pair<size_t, uint32_t>> set)
{
    std::vector<uint32_t> out(count, 0);
    for (const auto& [index, symbol] : set) out[index] = symbol;
    return out;
}

// The header of a final dynamic block with one distance length: the lengths `cl` of the
// code-length code in the order they are sent (16, 17, 18, 0, 8, 7, ...), then the code-length
// symbols, a repeat taking its shortest count. The symbols are written in the default code, a
// complete one of four bits for symbols 0-12 (codes 0-12) and five bits for 13-18 (codes 26-31).
BitWriter dynamicHeader(unsigned hlit, const std::vector<uint32_t>& symbols,
                        const std::vector<uint32_t>& cl = {5, 5, 5, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 5, 4, 5, 4, 5})
{
    BitWriter w;
    w.block(true, 2).put(hlit - 257, 5).put(0, 5).put(uint32_t(cl.size() - 4), 4);
    for (uint32_t length : cl) w.put(length, 3);
    for (uint32_t s : symbols) {
        s < 13 ? w.code(s, 4) : w.code(s + 13, 5);
        if (s >= 16) w.put(0, s == 16 ? 2 : s == 17 ? 3 : 7);
    }
    return w;
}

} // namespace

// Level 0 gives stored blocks; zlib picks fixed blocks for the small inputs and dynamic ones for
// the larger; levels 1 and 4 take its fast and lazy matchers. Runs reach the longest match, and
// the big sizes cross 64 KiB. Then streams zlib does not write that still decode.
TEST(ZlibInflate, MatchesZlibAcrossLevelsAndDataAndDecodesCraftedStreams)
{
    const size_t sizes[] = {0, 1, 3, 257, 65535, 65536, 300000};
    uint32_t seed = 1;
    for (int kind = 0; kind < 3; ++kind)
        for (size_t size : sizes) {
            const Bytes data = sampleData(kind, size, seed++);
            for (int level : {0, 1, 4, 9})
                ASSERT_EQ(inflateOk(deflate(data, level)), data)
                    << "kind " << kind << " size " << size << " level " << level;
        }
    const Bytes data = sampleData(1, 5000, 7);
    Bytes stream = deflate(data);
    stream.resize(stream.size() - 4); // the Adler-32 trailer is never read
    EXPECT_EQ(inflateOk(stream), data);
    // 286 and 287 have no meaning and produce nothing.
    EXPECT_EQ(inflateOk(BitWriter().block(true, 1).fixed({'x', 286, 287, 'y', 256}).bytes), Bytes({'x', 'y'}));
    // The limit counts the two header bytes, so a stored block may end two bytes past the input:
    // those bytes read as zero.
    EXPECT_EQ(inflateOk({0x78, 0x01, 0x01, 0x02, 0x00, 0xFD, 0xFF}), Bytes({0, 0}));
}

// A limit keeps the first bytes and stores nothing past them, while the rest of the stream is
// still decoded: the code is the one the whole stream gives (an error after the limit included).
TEST(ZlibInflate, AnOutputLimitKeepsTheFirstBytesAndTheCode)
{
    Bytes data(8 << 20, 0);
    data[3] = 7;
    // A full flush ends the data with an empty stored block; a final empty block follows.
    Bytes bomb(compressBound(uLong(data.size())) + 64);
    z_stream z{};
    ASSERT_EQ(deflateInit(&z, 9), Z_OK);
    z.next_in = data.data();
    z.avail_in = uInt(data.size());
    z.next_out = bomb.data();
    z.avail_out = uInt(bomb.size());
    ASSERT_EQ(deflate(&z, Z_FULL_FLUSH), Z_OK);
    ASSERT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    bomb.resize(z.total_out);
    deflateEnd(&z);
    const Bytes cut(bomb.begin(), bomb.begin() + bomb.size() / 2);
    const struct {
        const Bytes& stream;
        size_t limit;
        int code;
    } cases[] = {{bomb, 0, 0}, {bomb, 5, 0}, {bomb, data.size() - 1, 0}, {bomb, data.size(), 0}, {cut, 5, 51}};
    for (const auto& c : cases) {
        Bytes out;
        ASSERT_EQ(zlibDecompress(c.stream.data(), c.stream.size(), out, c.limit), c.code) << c.limit;
        if (c.code == 0) {
            EXPECT_TRUE(out == Bytes(data.begin(), data.begin() + c.limit)) << c.limit;
        }
        EXPECT_LE(out.capacity(), 2 * c.limit) << c.limit;
    }
}

TEST(ZlibInflate, CraftedStreamsGiveTheirErrorCodes)
{
    const struct {
        const char* what;
        Bytes stream;
        int code;
    } cases[] = {
        {"empty", {}, 53},
        {"check bits", {0x78, 0x9D, 0x03, 0x00}, 24},
        {"method 9", {0x79, 0x18, 0x03, 0x00}, 25},
        {"preset dictionary", {0x78, 0x20, 0x03, 0x00}, 26},
        {"NLEN of an empty block", {0x78, 0x01, 0x01, 0x00, 0x00, 0xFE, 0xFF}, 21},
        {"stored past the end", {0x78, 0x01, 0x01, 0x0A, 0x00, 0xF5, 0xFF, 'h', 'i'}, 23},
        {"LEN in the last four bytes", {0x78, 0x01, 0x01, 0x00, 0x00}, 52},
        {"next header at the limit", {0x78, 0x01, 0x00, 0x02, 0x00, 0xFD, 0xFF}, 52},
        {"block type 3", {0x78, 0x01, 0x07}, 20},
        {"distance code 30", BitWriter().block(true, 1).fixed({'a', 257}).code(30, 5).bytes, 18},
        {"distance 2 after one byte", BitWriter().block(true, 1).fixed({'a', 257}).code(1, 5).bytes, 56},
        {"distance code 30, padded", BitWriter().block(true, 1).fixed({'a', 257}).code(30, 5).pad().bytes, 18},
        {"distance 2 after one byte, padded", BitWriter().block(true, 1).fixed({'a', 257}).code(1, 5).pad().bytes, 56},
        // A dynamic header in the last three bits of the input sits at position L - 2.
        {"dynamic header at L - 2", BitWriter().block(false, 1).fixed({200, 200, 200, 256}).block(true, 2).bytes, 49},
        {"repeat 16 past the lengths", dynamicHeader(257, lengths(257, {{256, 16}})).bytes, 13},
        {"repeat 17 past the lengths", dynamicHeader(257, lengths(257, {{256, 17}})).bytes, 14},
        {"repeat 18 past the lengths", dynamicHeader(257, lengths(257, {{256, 18}})).bytes, 15},
        {"repeat with nothing before", dynamicHeader(257, {16}).bytes, 57},
        {"no end-of-block code", dynamicHeader(257, lengths(258, {{0, 1}, {1, 1}})).bytes, 64},
        {"over-full code-length code", dynamicHeader(257, {}, std::vector<uint32_t>(19, 1)).bytes, 55},
        // 1x reaches nothing.
        {"unreachable code", dynamicHeader(257, lengths(258, {{0, 2}, {256, 2}})).code(3, 2).bytes, 11},
        {"unreachable code, padded", dynamicHeader(257, lengths(258, {{0, 2}, {256, 2}})).code(3, 2).pad().bytes, 11},
        // Literal 0 has the all-zero code, so the zeros past the end are literals.
        {"literals past the end", dynamicHeader(257, lengths(258, {{0, 1}, {256, 1}})).bytes, 10},
        // Length 257 has the all-zero code and distance 0 one bit; after literal 0 its extra bits lie
        // past the end.
        {"length extra bits past the end",
         dynamicHeader(258, lengths(259, {{257, 1}, {0, 2}, {256, 2}, {258, 1}})).code(2, 2).bytes, 51},
        // Only 17 and 18 have codes, 17 the all-zero one: the zeros past the end repeat zero lengths.
        {"header repeats past the end", dynamicHeader(257, {}, {0, 1, 1, 0}).bytes, 50},
    };
    for (const auto& c : cases) {
        Bytes out, presized(4096); // room for the fast path from the first symbol
        EXPECT_EQ(zlibDecompress(c.stream, out), c.code) << c.what;
        EXPECT_EQ(zlibDecompress(c.stream, presized), c.code) << c.what << ", pre-sized";
    }
}
