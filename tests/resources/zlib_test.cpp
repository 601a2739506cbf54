// Inflater tests: zlib itself as the oracle for well-formed streams, and hand-built bit streams
// for the edge cases and every reachable error code.
#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <utility>

#include "resources/Zlib.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes deflateWith(const Bytes& data, int level, int strategy)
{
    z_stream s{};
    EXPECT_EQ(deflateInit2(&s, level, Z_DEFLATED, 15, 8, strategy), Z_OK);
    Bytes out(deflateBound(&s, data.size()) + 16);
    s.next_in = const_cast<Bytef*>(data.data());
    s.avail_in = uInt(data.size());
    s.next_out = out.data();
    s.avail_out = uInt(out.size());
    EXPECT_EQ(deflate(&s, Z_FINISH), Z_STREAM_END);
    out.resize(s.total_out);
    deflateEnd(&s);
    return out;
}

Bytes inflateOk(const Bytes& stream, size_t presize = 0)
{
    Bytes out(presize, 0xAA);  // a presized output is cut to what the stream holds
    EXPECT_EQ(zlibDecompress(stream, out), 0);
    return out;
}

// Noise, a small alphabet, words, or long runs.
Bytes sampleData(int kind, size_t size, uint32_t seed)
{
    std::mt19937 rng(seed);
    Bytes data(size);
    const char* words[] = {"zemblar ", "demo ", "texture ", "sphere ", "camera ", "\n"};
    size_t i = 0;
    while (i < size) {
        if (kind == 0) data[i++] = uint8_t(rng());
        else if (kind == 1) data[i++] = uint8_t('a' + rng() % 4);
        else if (kind == 2)
            for (const char* w = words[rng() % 6]; *w && i < size; ++w) data[i++] = uint8_t(*w);
        else
            for (size_t n = rng() % 700, v = rng() & 0xFF; n && i < size; --n) data[i++] = uint8_t(v);
    }
    return data;
}

// Writes bits least significant first and Huffman codes most significant first, after a zlib
// header that passes every check.
struct BitWriter {
    Bytes bytes;
    unsigned bit = 8;
    BitWriter()
    {
        bytes.push_back(0x78);
        bytes.push_back(0x01);
    }
    void put(uint32_t value, unsigned count)
    {
        for (unsigned i = 0; i < count; ++i) {
            if (bit == 8) {
                bytes.push_back(0);
                bit = 0;
            }
            bytes.back() |= uint8_t(((value >> i) & 1) << bit++);
        }
    }
    void code(uint32_t value, unsigned length)
    {
        for (unsigned i = length; i-- > 0;) put((value >> i) & 1, 1);
    }
    void block(bool final, unsigned type) { put(final | type << 1, 3); }
    // The fixed literal/length code of a symbol.
    void fixed(unsigned s)
    {
        if (s < 144) code(0x30 + s, 8);
        else if (s < 256) code(0x190 + s - 144, 9);
        else if (s < 280) code(s - 256, 7);
        else code(0xC0 + s - 280, 8);
    }
};

// A final fixed block of the given symbols, then a five-bit distance code when one is given.
Bytes fixedStream(std::initializer_list<unsigned> symbols, int distance = -1)
{
    BitWriter w;
    w.block(true, 1);
    for (unsigned s : symbols) w.fixed(s);
    if (distance >= 0) w.code(uint32_t(distance), 5);
    return w.bytes;
}

std::vector<uint32_t> canonicalCodes(const std::vector<uint32_t>& lengths)
{
    uint32_t count[16] = {}, next[16] = {};
    for (uint32_t l : lengths) if (l) ++count[l];
    for (int b = 1; b < 16; ++b) next[b] = (next[b - 1] + count[b - 1]) << 1;
    std::vector<uint32_t> codes(lengths.size());
    for (size_t s = 0; s < lengths.size(); ++s) if (lengths[s]) codes[s] = next[lengths[s]]++;
    return codes;
}

struct ClSymbol {
    uint32_t symbol, extra;
};

// Code-length symbols giving `count` lengths, all zero but the listed ones.
std::vector<ClSymbol> lengths(size_t count, std::initializer_list<std::pair<size_t, uint32_t>> set)
{
    std::vector<ClSymbol> out(count, ClSymbol{0, 0});
    for (const auto& [index, length] : set) out[index].symbol = length;
    return out;
}

// The header of a final dynamic block with one distance length. The code-length code defaults to
// a complete code: length 4 for symbols 0-12, length 5 for 13-18.
BitWriter dynamicHeader(unsigned hlit, const std::vector<ClSymbol>& symbols,
                        std::vector<uint32_t> cl = {4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 5, 5, 5, 5, 5, 5})
{
    static const unsigned order[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
    BitWriter w;
    w.block(true, 2);
    w.put(hlit - 257, 5);
    w.put(0, 5);
    w.put(19 - 4, 4);
    for (unsigned i = 0; i < 19; ++i) w.put(cl[order[i]], 3);
    const std::vector<uint32_t> codes = canonicalCodes(cl);
    for (const ClSymbol& s : symbols) {
        w.code(codes[s.symbol], cl[s.symbol]);
        if (s.symbol >= 16) w.put(s.extra, s.symbol == 16 ? 2 : s.symbol == 17 ? 3 : 7);
    }
    return w;
}

// A dynamic header of the given code-length symbols, then padding.
Bytes paddedHeader(std::vector<ClSymbol> symbols)
{
    BitWriter w = dynamicHeader(257, symbols);
    w.put(0xFFFF, 16);
    return w.bytes;
}

// 256 lengths of 8 (of 258 declared), then one more code-length symbol.
std::vector<ClSymbol> eights(ClSymbol last)
{
    std::vector<ClSymbol> s(256, ClSymbol{8, 0});
    s.push_back(last);
    return s;
}

}  // namespace

TEST(ZlibInflate, MatchesZlibAcrossLevelsStrategiesAndData)
{
    const int strategies[] = {Z_DEFAULT_STRATEGY, Z_FILTERED, Z_HUFFMAN_ONLY, Z_RLE, Z_FIXED};
    const size_t sizes[] = {0, 1, 2, 3, 257, 4096, 65535, 65536, 70001, 300000};
    uint32_t seed = 1;
    for (int kind = 0; kind < 4; ++kind)
        for (size_t size : sizes) {
            const Bytes data = sampleData(kind, size, seed++);
            for (int level = 0; level <= 9; ++level)
                for (int strategy : strategies) {
                    if (size > 70001 && (level % 3 != 0)) continue;  // keep the big ones quick
                    SCOPED_TRACE(testing::Message() << "kind " << kind << " size " << size << " level " << level
                                                    << " strategy " << strategy);
                    ASSERT_EQ(inflateOk(deflateWith(data, level, strategy)), data);
                }
        }
}

TEST(ZlibInflate, PresizedOutputIsCutAndTheTrailerIsNeverRead)
{
    const Bytes data = sampleData(2, 5000, 7);
    for (int level : {0, 6}) {
        Bytes stream = deflateWith(data, level, Z_DEFAULT_STRATEGY);
        for (size_t presize : {1, 5000, 100000}) EXPECT_EQ(inflateOk(stream, presize), data) << presize;
        stream.back() ^= 0xFF;  // a wrong Adler-32, then none at all
        EXPECT_EQ(inflateOk(stream), data);
        stream.resize(stream.size() - 4);
        EXPECT_EQ(inflateOk(stream), data);
    }
}

TEST(ZlibInflate, CraftedStreamsDecode)
{
    Bytes x259y(259, 'x');
    x259y.push_back('y');
    BitWriter fixed;  // 286 and 287 have no meaning and produce nothing; 285 is length 258
    fixed.block(true, 1);
    for (unsigned s : {unsigned('x'), 286u, 287u, 285u}) fixed.fixed(s);
    fixed.code(0, 5);  // distance 1
    fixed.fixed('y');
    fixed.fixed(256);
    BitWriter dynamic = dynamicHeader(257, lengths(258, {{'A', 1}, {256, 1}}));  // one bit each
    dynamic.code(0, 1);
    dynamic.code(0, 1);
    dynamic.code(1, 1);
    const std::pair<Bytes, Bytes> cases[] = {
        {{0x78, 0x9C, 0x03, 0x00}, {}},  // passes the header checks, then an empty fixed block
        // The limit counts the two header bytes, so a stored block may end two bytes past the
        // input: those bytes read as zero.
        {{0x78, 0x01, 0x01, 0x02, 0x00, 0xFD, 0xFF}, {0, 0}},
        {fixed.bytes, x259y},
        {dynamic.bytes, {'A', 'A'}},
    };
    for (const auto& [stream, expected] : cases) EXPECT_EQ(inflateOk(stream), expected);
}

TEST(ZlibInflate, CraftedStreamsGiveTheirErrorCodes)
{
    BitWriter lateHeader;  // a dynamic header in the last three bits sits at position L - 2
    lateHeader.block(false, 1);
    for (unsigned s : {200, 200, 200, 256}) lateHeader.fixed(s);
    lateHeader.block(true, 2);
    ASSERT_EQ(lateHeader.bytes.size(), 7u);

    BitWriter overfull;  // a code-length code of 19 one-bit codes
    overfull.block(true, 2);
    overfull.put(0, 10);
    overfull.put(15, 4);
    for (int i = 0; i < 19; ++i) overfull.put(1, 3);
    overfull.put(0, 16);

    BitWriter unreachable = dynamicHeader(257, lengths(258, {{0, 2}, {256, 2}}));  // 1x reaches nothing
    unreachable.code(3, 2);
    unreachable.put(0, 16);

    // Runs off the end: literal 0 has the all-zero code, so the zeros past the end are literals.
    const Bytes literalsPast = dynamicHeader(257, lengths(258, {{0, 1}, {256, 1}})).bytes;
    // Length 257 has the all-zero code and distance 0 one bit: its extra bits lie past the end.
    BitWriter lengthPast = dynamicHeader(258, lengths(259, {{257, 1}, {0, 2}, {256, 2}, {258, 1}}));
    lengthPast.code(2, 2);  // literal 0
    // Code-length 16 has the all-zero code: the header's repeats run past the end.
    std::vector<uint32_t> cl(19, 0);
    cl[16] = 1;
    cl[8] = cl[0] = 2;
    const Bytes repeatsPast = dynamicHeader(257, std::vector<ClSymbol>(200, ClSymbol{8, 0}), cl).bytes;

    const struct {
        const char* what;
        Bytes stream;
        int code;
    } cases[] = {
        {"empty", {}, 53},
        {"one byte", {0x78}, 53},
        {"check bits", {0x78, 0x9D, 0x03, 0x00}, 24},
        {"method 9", {0x79, 0x18, 0x03, 0x00}, 25},
        {"window field 8", {0x88, 0x1C, 0x03, 0x00}, 25},
        {"preset dictionary", {0x78, 0x20, 0x03, 0x00}, 26},
        {"NLEN", {0x78, 0x01, 0x01, 0x02, 0x00, 0xFD, 0xFE, 'h', 'i'}, 21},
        {"stored past the end", {0x78, 0x01, 0x01, 0x0A, 0x00, 0xF5, 0xFF, 'h', 'i'}, 23},
        {"LEN in the last four bytes", {0x78, 0x01, 0x01, 0x00, 0x00}, 52},
        {"no block", {0x78, 0x01}, 52},
        {"next header at the limit", {0x78, 0x01, 0x00, 0x02, 0x00, 0xFD, 0xFF}, 52},
        {"block type 3", {0x78, 0x01, 0x07}, 20},
        {"distance code 30", fixedStream({'a', 257}, 30), 18},
        {"distance 2 after one byte", fixedStream({'a', 257}, 1), 56},
        {"dynamic header at L - 2", lateHeader.bytes, 49},
        {"repeat 16 past the lengths", paddedHeader(eights({16, 0})), 13},
        {"repeat 17 past the lengths", paddedHeader(eights({17, 0})), 14},
        {"repeat 18 past the lengths", paddedHeader(eights({18, 0})), 15},
        {"repeat with nothing before", paddedHeader({{16, 0}}), 57},
        {"no end-of-block code", paddedHeader(lengths(258, {{0, 1}, {1, 1}})), 64},
        {"over-full code-length code", overfull.bytes, 55},
        {"unreachable code", unreachable.bytes, 11},
        {"literals past the end", literalsPast, 10},
        {"length extra bits past the end", lengthPast.bytes, 51},
        {"header repeats past the end", repeatsPast, 50},
    };
    for (const auto& c : cases) {
        Bytes out;
        EXPECT_EQ(zlibDecompress(c.stream, out), c.code) << c.what;
    }
}

TEST(HuffmanTree, OverSubscribedLengths)
{
    // Three one-bit codes: the third lands on a leaf and is dropped, deterministically and inside
    // the table. Eight are refused.
    HuffmanTree tree;
    const uint32_t ones[8] = {1, 1, 1, 1, 1, 1, 1, 1};
    EXPECT_EQ(tree.build(ones, 3, 15), 0);
    EXPECT_EQ(tree.tree2d[0], 0u);
    EXPECT_EQ(tree.tree2d[1], 1u);
    EXPECT_EQ(tree.build(ones, 8, 15), 55);
}
