// Inflater tests: zlib itself as the oracle for well-formed streams, and
// hand-built bit streams for the edge cases and every reachable error code.
#include <gtest/gtest.h>
#include <zlib.h>

#include <random>

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
    Bytes out(presize, 0xAA);
    EXPECT_EQ(zlibDecompress(stream, out), 0);
    return out;
}

int inflateError(const Bytes& stream)
{
    Bytes out;
    return zlibDecompress(stream, out);
}

Bytes sampleData(int kind, size_t size, uint32_t seed)
{
    std::mt19937 rng(seed);
    Bytes data(size);
    const char* words[] = {"zemblar ", "demo ", "texture ", "sphere ", "camera ", "\n"};
    size_t i = 0;
    while (i < size) {
        switch (kind) {
        case 0: data[i++] = uint8_t(rng()); break;                    // noise
        case 1: data[i++] = uint8_t('a' + rng() % 4); break;          // small alphabet
        case 2: {                                                    // words
            for (const char* w = words[rng() % 6]; *w && i < size; ++w) data[i++] = uint8_t(*w);
            break;
        }
        default: {                                                   // long runs
            const uint8_t v = uint8_t(rng());
            for (size_t n = rng() % 700; n && i < size; --n) data[i++] = v;
            break;
        }
        }
    }
    return data;
}

// Writes bits least significant first; Huffman codes most significant first.
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
};

// The fixed literal/length code of a symbol.
void fixedSymbol(BitWriter& w, unsigned s)
{
    if (s < 144) w.code(0x30 + s, 8);
    else if (s < 256) w.code(0x190 + s - 144, 9);
    else if (s < 280) w.code(s - 256, 7);
    else w.code(0xC0 + s - 280, 8);
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

// A dynamic block header. The code-length code defaults to a complete code:
// length 4 for symbols 0-12, length 5 for 13-18.
void dynamicHeader(BitWriter& w, bool final, unsigned hlit, unsigned hdist, const std::vector<ClSymbol>& symbols,
                   std::vector<uint32_t> clLengths = {4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 5, 5, 5, 5, 5, 5})
{
    static const unsigned order[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
    w.put(final, 1);
    w.put(2, 2);
    w.put(hlit - 257, 5);
    w.put(hdist - 1, 5);
    w.put(19 - 4, 4);
    for (unsigned i = 0; i < 19; ++i) w.put(clLengths[order[i]], 3);
    const std::vector<uint32_t> codes = canonicalCodes(clLengths);
    for (const ClSymbol& s : symbols) {
        w.code(codes[s.symbol], clLengths[s.symbol]);
        if (s.symbol == 16) w.put(s.extra, 2);
        if (s.symbol == 17) w.put(s.extra, 3);
        if (s.symbol == 18) w.put(s.extra, 7);
    }
}

std::vector<ClSymbol> plainLengths(const std::vector<uint32_t>& lengths)
{
    std::vector<ClSymbol> out;
    for (uint32_t l : lengths) out.push_back({l, 0});
    return out;
}

}  // namespace

TEST(ZlibInflate, MatchesZlibAcrossLevelsStrategiesAndData)
{
    const int strategies[] = {Z_DEFAULT_STRATEGY, Z_FILTERED, Z_HUFFMAN_ONLY, Z_RLE, Z_FIXED};
    const size_t sizes[] = {0, 1, 2, 3, 257, 4096, 65535, 65536, 70001, 300000};
    uint32_t seed = 1;
    for (int kind = 0; kind < 4; ++kind) {
        for (size_t size : sizes) {
            const Bytes data = sampleData(kind, size, seed++);
            for (int level = 0; level <= 9; ++level) {
                for (int strategy : strategies) {
                    if (size > 70001 && (level % 3 != 0)) continue;  // keep the big ones quick
                    SCOPED_TRACE(testing::Message() << "kind " << kind << " size " << size << " level " << level
                                                    << " strategy " << strategy);
                    const Bytes stream = deflateWith(data, level, strategy);
                    ASSERT_EQ(inflateOk(stream), data);
                }
            }
        }
    }
}

TEST(ZlibInflate, PresizedOutputIsCutToTheDecodedBytes)
{
    const Bytes data = sampleData(2, 5000, 7);
    const Bytes stream = deflateWith(data, 6, Z_DEFAULT_STRATEGY);
    EXPECT_EQ(inflateOk(stream, 1), data);
    EXPECT_EQ(inflateOk(stream, 5000), data);
    EXPECT_EQ(inflateOk(stream, 100000), data);
    const Bytes stored = deflateWith(data, 0, Z_DEFAULT_STRATEGY);
    EXPECT_EQ(inflateOk(stored, 4999), data);
    EXPECT_EQ(inflateOk(stored, 20000), data);
}

TEST(ZlibInflate, TrailerIsNeverRead)
{
    const Bytes data = sampleData(1, 3000, 3);
    Bytes stream = deflateWith(data, 9, Z_DEFAULT_STRATEGY);
    stream.back() ^= 0xFF;
    EXPECT_EQ(inflateOk(stream), data);
    stream.resize(stream.size() - 4);
    EXPECT_EQ(inflateOk(stream), data);
}

TEST(ZlibInflate, HeaderChecks)
{
    EXPECT_EQ(inflateError({}), 53);
    EXPECT_EQ(inflateError({0x78}), 53);
    EXPECT_EQ(inflateError({0x78, 0x9D, 0x03, 0x00}), 24);
    EXPECT_EQ(inflateError({0x79, 0x18, 0x03, 0x00}), 25);  // method 9
    EXPECT_EQ(inflateError({0x88, 0x1C, 0x03, 0x00}), 25);  // window field 8
    EXPECT_EQ(inflateError({0x78, 0x20, 0x03, 0x00}), 26);  // preset dictionary
    // 78 9C passes the checks and leads into an empty fixed block.
    EXPECT_EQ(inflateOk({0x78, 0x9C, 0x03, 0x00}), Bytes());
}

TEST(ZlibInflate, StoredBlocks)
{
    EXPECT_EQ(inflateOk({0x78, 0x01, 0x01, 0x00, 0x00, 0xFF, 0xFF}), Bytes());
    EXPECT_EQ(inflateOk({0x78, 0x01, 0x01, 0x02, 0x00, 0xFD, 0xFF, 'h', 'i'}), Bytes({'h', 'i'}));
    EXPECT_EQ(inflateError({0x78, 0x01, 0x01, 0x02, 0x00, 0xFD, 0xFE, 'h', 'i'}), 21);
    EXPECT_EQ(inflateError({0x78, 0x01, 0x01, 0x0A, 0x00, 0xF5, 0xFF, 'h', 'i'}), 23);
    // The LEN field must start before the last four bytes.
    EXPECT_EQ(inflateError({0x78, 0x01, 0x01, 0x00, 0x00}), 52);
    EXPECT_EQ(inflateError({0x78, 0x01}), 52);
    // The limit counts the two header bytes, so a block may end two bytes past
    // the input: those bytes read as zero.
    EXPECT_EQ(inflateOk({0x78, 0x01, 0x01, 0x02, 0x00, 0xFD, 0xFF}), Bytes({0, 0}));
    // ... and the next block header then starts at the limit.
    EXPECT_EQ(inflateError({0x78, 0x01, 0x00, 0x02, 0x00, 0xFD, 0xFF}), 52);
    EXPECT_EQ(inflateError({0x78, 0x01, 0x07}), 20);  // block type 3
}

TEST(ZlibInflate, FixedBlockSymbols)
{
    BitWriter w;
    w.put(1, 1);
    w.put(1, 2);
    fixedSymbol(w, 'x');
    fixedSymbol(w, 286);  // no meaning, produces nothing
    fixedSymbol(w, 287);
    fixedSymbol(w, 285);  // length 258
    w.code(0, 5);         // distance 1
    fixedSymbol(w, 'y');
    fixedSymbol(w, 256);
    Bytes expected(259, 'x');
    expected.push_back('y');
    EXPECT_EQ(inflateOk(w.bytes), expected);
}

TEST(ZlibInflate, FixedBlockErrors)
{
    for (unsigned distance : {30u, 31u}) {
        BitWriter w;
        w.put(1, 1);
        w.put(1, 2);
        fixedSymbol(w, 'a');
        fixedSymbol(w, 257);
        w.code(distance, 5);
        EXPECT_EQ(inflateError(w.bytes), 18);
    }
    BitWriter before;  // a back-reference with nothing written yet
    before.put(1, 1);
    before.put(1, 2);
    fixedSymbol(before, 'a');
    fixedSymbol(before, 257);
    before.code(1, 5);  // distance 2 > one byte written
    EXPECT_EQ(inflateError(before.bytes), 56);
}

TEST(ZlibInflate, DynamicBlockDecodes)
{
    // Literal 'A' and end of block, one bit each; distance code unused.
    std::vector<uint32_t> lengths(257, 0);
    lengths['A'] = 1;
    lengths[256] = 1;
    lengths.push_back(0);  // one distance length
    BitWriter w;
    dynamicHeader(w, true, 257, 1, plainLengths(lengths));
    w.code(0, 1);
    w.code(0, 1);
    w.code(1, 1);
    EXPECT_EQ(inflateOk(w.bytes), Bytes({'A', 'A'}));
}

TEST(ZlibInflate, DynamicHeaderErrors)
{
    {
        // A dynamic block header in the last three bits of the input sits at
        // byte position L - 2 (positions count from the third byte).
        BitWriter w;
        w.put(0, 1);
        w.put(1, 2);
        for (int i = 0; i < 3; ++i) fixedSymbol(w, 200);
        fixedSymbol(w, 256);
        w.put(1, 1);
        w.put(2, 2);
        ASSERT_EQ(w.bytes.size(), 7u);
        EXPECT_EQ(inflateError(w.bytes), 49);
    }

    auto header = [](std::vector<ClSymbol> symbols) {
        BitWriter w;
        dynamicHeader(w, true, 257, 1, symbols);
        w.put(0xFFFF, 16);  // something to read after the header
        return w.bytes;
    };
    std::vector<ClSymbol> almost = plainLengths(std::vector<uint32_t>(256, 8));
    auto with = [&](ClSymbol last) {
        std::vector<ClSymbol> s = almost;
        s.push_back(last);
        return s;
    };
    // 256 lengths declared of 258: a repeat of 3 or more runs past them.
    EXPECT_EQ(inflateError(header(with({16, 0}))), 13);
    EXPECT_EQ(inflateError(header(with({17, 0}))), 14);
    EXPECT_EQ(inflateError(header(with({18, 0}))), 15);
    EXPECT_EQ(inflateError(header({{16, 0}})), 57);  // nothing to repeat yet
    // End of block without a code.
    std::vector<uint32_t> noEnd(258, 0);
    noEnd[0] = 1;
    noEnd[1] = 1;
    EXPECT_EQ(inflateError(header(plainLengths(noEnd))), 64);

    // Code-length code of 19 one-bit codes: more than the tree can hold.
    BitWriter over;
    over.put(1, 1);
    over.put(2, 2);
    over.put(0, 5);
    over.put(0, 5);
    over.put(15, 4);
    for (int i = 0; i < 19; ++i) over.put(1, 3);
    over.put(0, 16);
    EXPECT_EQ(inflateError(over.bytes), 55);
}

TEST(ZlibInflate, UnreachableCodeGives11)
{
    std::vector<uint32_t> lengths(258, 0);
    lengths[0] = 2;
    lengths[256] = 2;  // codes 00 and 01; 1x reaches nothing
    BitWriter w;
    dynamicHeader(w, true, 257, 1, plainLengths(lengths));
    w.code(3, 2);
    w.put(0, 16);
    EXPECT_EQ(inflateError(w.bytes), 11);
}

TEST(ZlibInflate, RunningOffTheEndOfTheStream)
{
    {
        // Literal 0 has the all-zero code: the zero bytes past the end decode
        // as literals until the position passes the limit.
        std::vector<uint32_t> lengths(258, 0);
        lengths[0] = 1;
        lengths[256] = 1;
        BitWriter w;
        dynamicHeader(w, true, 257, 1, plainLengths(lengths));
        EXPECT_EQ(inflateError(w.bytes), 10);
    }
    {
        // Length symbol 257 has the all-zero code and distance 0 is one bit:
        // the extra-bits check stops the run past the end.
        std::vector<uint32_t> lengths(259, 0);
        lengths[257] = 1;
        lengths[0] = 2;
        lengths[256] = 2;
        lengths.back() = 1;  // distance symbol 0
        BitWriter w;
        dynamicHeader(w, true, 258, 1, plainLengths(lengths));
        w.code(2, 2);  // literal 0
        EXPECT_EQ(inflateError(w.bytes), 51);
    }
    {
        // Code-length symbol 16 has the all-zero code; the header stops early
        // and the zeros past the end are repeats whose extra bits lie past it.
        std::vector<uint32_t> cl(19, 0);
        cl[16] = 1;
        cl[8] = 2;
        cl[0] = 2;
        std::vector<ClSymbol> symbols(200, ClSymbol{8, 0});
        BitWriter w;
        dynamicHeader(w, true, 257, 1, symbols, cl);
        EXPECT_EQ(inflateError(w.bytes), 50);
    }
}

TEST(HuffmanTree, LayoutAndOverSubscription)
{
    HuffmanTree tree;
    const uint32_t lengths[4] = {2, 1, 3, 3};  // codes 10, 0, 110, 111
    ASSERT_EQ(tree.build(lengths, 4, 15), 0);
    ASSERT_EQ(tree.tree2d.size(), 8u);
    EXPECT_EQ(tree.tree2d[0], 1u);      // root, bit 0: symbol 1
    EXPECT_EQ(tree.tree2d[1], 4u + 1);  // root, bit 1: node 1
    EXPECT_EQ(tree.tree2d[2], 0u);      // 10: symbol 0
    EXPECT_EQ(tree.tree2d[3], 4u + 2);
    EXPECT_EQ(tree.tree2d[4], 2u);
    EXPECT_EQ(tree.tree2d[5], 3u);
    EXPECT_EQ(tree.tree2d[6], HuffmanTree::kEmpty);

    // Three one-bit codes: the third lands on a leaf and is dropped; the build
    // is deterministic and stays inside the table.
    const uint32_t over[3] = {1, 1, 1};
    EXPECT_EQ(tree.build(over, 3, 15), 0);
    EXPECT_EQ(tree.tree2d[0], 0u);
    EXPECT_EQ(tree.tree2d[1], 1u);
    const uint32_t many[8] = {1, 1, 1, 1, 1, 1, 1, 1};
    EXPECT_EQ(tree.build(many, 8, 15), 55);
}
