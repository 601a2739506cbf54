// Reference inflater: the tree-walking decoder, byte for byte as it was in the demo.
#include "reference/ReferenceInflate.h"

#include <cstring>

namespace reference {
namespace {

// Canonical Huffman decoding table over an alphabet of `numCodes` symbols.
// Two entries per node: entry 2*k+b is the successor of node k for bit b. An
// entry below numCodes is a leaf for that symbol, an entry of numCodes or more
// links to node (entry - numCodes), and kEmpty marks a slot no code reaches.
struct HuffmanTree {
    static constexpr uint32_t kEmpty = 32767;
    std::vector<uint32_t> tree2d;
    uint32_t numCodes = 0;

    // Builds the table from one code length per symbol; 0 or 55.
    int build(const uint32_t* lengths, uint32_t count, uint32_t maxLength);
};

const uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                  31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
const uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                  2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
const uint16_t kDistanceBase[30] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                    33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                    1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
const uint8_t kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                    6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
const uint8_t kCodeLengthOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

class Inflater {
public:
    // `data` points at the first byte after the two header bytes; `avail` bytes
    // follow it. `limit` is the length of the whole stream, header included:
    // every end-of-input check compares the byte position with it.
    Inflater(const uint8_t* data, size_t avail, size_t limit, std::vector<uint8_t>& out)
        : data_(data), avail_(avail), limit_(limit), out_(out)
    {
    }

    int run();

    int error = 0;
    HuffmanTree litLenTree;
    HuffmanTree distanceTree;
    HuffmanTree codeLengthTree;

private:
    uint8_t byteAt(size_t i) const { return i < avail_ ? data_[i] : 0; }
    size_t bytePos() const { return bitPos_ >> 3; }
    unsigned readBit()
    {
        unsigned bit = (byteAt(bitPos_ >> 3) >> (bitPos_ & 7)) & 1u;
        ++bitPos_;
        return bit;
    }
    unsigned readBits(unsigned count)
    {
        unsigned value = 0;
        for (unsigned i = 0; i < count; ++i) value |= readBit() << i;
        return value;
    }

    int decodeSymbol(const HuffmanTree& tree, unsigned& symbol);
    void storedBlock();
    void fixedTrees();
    void dynamicTrees();
    void huffmanBlock();
    void copyBack(size_t distance, size_t length);

    const uint8_t* data_;
    size_t avail_;
    size_t limit_;
    size_t bitPos_ = 0;
    std::vector<uint8_t>& out_;
    size_t outPos_ = 0;
};

int Inflater::run()
{
    error = 0;
    bitPos_ = 0;
    outPos_ = 0;
    while (error == 0) {
        if (bytePos() >= limit_) {
            error = 52;
            break;
        }
        unsigned final = readBit();
        unsigned type = readBits(2);
        if (type == 3) {
            error = 20;
        } else if (type == 0) {
            storedBlock();
        } else {
            if (type == 1)
                fixedTrees();
            else
                dynamicTrees();
            if (error == 0) huffmanBlock();
        }
        if (final) break;
    }
    if (error == 0) out_.resize(outPos_);
    return error;
}

int Inflater::decodeSymbol(const HuffmanTree& tree, unsigned& symbol)
{
    const uint32_t n = tree.numCodes;
    const uint32_t* table = tree.tree2d.data();
    uint32_t node = 0;
    // The current byte is fetched once per byte, not once per bit.
    size_t pos = bitPos_;
    unsigned current = byteAt(pos >> 3);
    for (;;) {
        if ((pos & 7) == 0) {
            if ((pos >> 3) > limit_) {
                bitPos_ = pos;
                return 10;
            }
            current = byteAt(pos >> 3);
        }
        const unsigned bit = (current >> (pos & 7)) & 1u;
        ++pos;
        if (node >= n) {
            bitPos_ = pos;
            return 11;
        }
        const uint32_t next = table[2 * node + bit];
        if (next < n) {
            bitPos_ = pos;
            symbol = next;
            return 0;
        }
        node = next - n;
    }
}

void Inflater::storedBlock()
{
    bitPos_ = (bitPos_ + 7) & ~size_t(7);
    size_t p = bytePos();
    if (p + 4 >= limit_) {
        error = 52;
        return;
    }
    size_t len = byteAt(p) | (size_t(byteAt(p + 1)) << 8);
    size_t nlen = byteAt(p + 2) | (size_t(byteAt(p + 3)) << 8);
    if (len + nlen != 65535) {
        error = 21;
        return;
    }
    p += 4;
    if (outPos_ + len >= out_.size()) out_.resize(outPos_ + len);
    if (p + len > limit_) {
        error = 23;
        return;
    }
    // Up to two of the block's bytes may lie past the input (the limit counts
    // the header bytes too); they read as zero.
    size_t present = p >= avail_ ? 0 : (avail_ - p < len ? avail_ - p : len);
    if (present) std::memcpy(out_.data() + outPos_, data_ + p, present);
    if (present < len) std::memset(out_.data() + outPos_ + present, 0, len - present);
    outPos_ += len;
    bitPos_ = (p + len) * 8;
}

void Inflater::fixedTrees()
{
    uint32_t lengths[288];
    for (unsigned i = 0; i < 288; ++i) lengths[i] = i < 144 ? 8 : i < 256 ? 9 : i < 280 ? 7 : 8;
    uint32_t distances[32];
    for (unsigned i = 0; i < 32; ++i) distances[i] = 5;
    error = litLenTree.build(lengths, 288, 15);
    if (error == 0) error = distanceTree.build(distances, 32, 15);
}

void Inflater::dynamicTrees()
{
    if (bytePos() + 2 >= limit_) {
        error = 49;
        return;
    }
    const unsigned hlit = readBits(5) + 257;
    const unsigned hdist = readBits(5) + 1;
    const unsigned hclen = readBits(4) + 4;

    uint32_t codeLengths[19] = {};
    for (unsigned i = 0; i < 19; ++i) codeLengths[kCodeLengthOrder[i]] = i < hclen ? readBits(3) : 0;
    error = codeLengthTree.build(codeLengths, 19, 7);
    if (error) return;

    // Literal/length lengths occupy entries 0..hlit-1, distance lengths follow;
    // repeats run across that boundary.
    uint32_t lengths[288 + 32] = {};
    uint32_t* litLen = lengths;
    uint32_t distances[32] = {};
    auto store = [&](unsigned i, uint32_t value) {
        if (i < hlit)
            litLen[i] = value;
        else
            distances[i - hlit] = value;
    };
    auto stored = [&](unsigned i) { return i < hlit ? litLen[i] : distances[i - hlit]; };

    const unsigned total = hlit + hdist;
    unsigned i = 0;
    while (i < total) {
        unsigned code = 0;
        error = decodeSymbol(codeLengthTree, code);
        if (error) return;
        if (code <= 15) {
            store(i++, code);
            continue;
        }
        if (bytePos() >= limit_) {
            error = 50;
            return;
        }
        unsigned repeat;
        uint32_t value = 0;
        int overrun;
        if (code == 16) {
            repeat = 3 + readBits(2);
            if (i == 0) { // nothing to repeat yet
                error = 57;
                return;
            }
            value = stored(i - 1);
            overrun = 13;
        } else if (code == 17) {
            repeat = 3 + readBits(3);
            overrun = 14;
        } else {
            repeat = 11 + readBits(7);
            overrun = 15;
        }
        for (unsigned r = 0; r < repeat; ++r) {
            if (i >= total) {
                error = overrun;
                return;
            }
            store(i++, value);
        }
    }
    if (litLen[256] == 0) {
        error = 64;
        return;
    }
    error = litLenTree.build(litLen, 288, 15);
    if (error == 0) error = distanceTree.build(distances, 32, 15);
}

void Inflater::copyBack(size_t distance, size_t length)
{
    if (outPos_ + length >= out_.size()) out_.resize(2 * (outPos_ + length));
    uint8_t* o = out_.data() + outPos_;
    const uint8_t* from = o - distance;
    if (distance >= length) {
        std::memcpy(o, from, length);
    } else {
        // Overlapping copy: a distance shorter than the length repeats the
        // last distance-many bytes, so it must go byte by byte.
        for (size_t k = 0; k < length; ++k) o[k] = from[k];
    }
    outPos_ += length;
}

void Inflater::huffmanBlock()
{
    for (;;) {
        unsigned symbol = 0;
        error = decodeSymbol(litLenTree, symbol);
        if (error) return;
        if (symbol < 256) {
            if (outPos_ >= out_.size()) out_.resize(2 * outPos_ + 2);
            out_[outPos_++] = static_cast<uint8_t>(symbol);
        } else if (symbol == 256) {
            return;
        } else if (symbol <= 285) {
            if (bytePos() >= limit_) {
                error = 51;
                return;
            }
            size_t length = kLengthBase[symbol - 257] + readBits(kLengthExtra[symbol - 257]);
            unsigned distSymbol = 0;
            error = decodeSymbol(distanceTree, distSymbol);
            if (error) return;
            if (distSymbol > 29) {
                error = 18;
                return;
            }
            if (bytePos() >= limit_) {
                error = 51;
                return;
            }
            size_t distance = kDistanceBase[distSymbol] + readBits(kDistanceExtra[distSymbol]);
            if (distance > outPos_) { // would reach before the first output byte
                error = 56;
                return;
            }
            copyBack(distance, length);
        }
        // Symbols 286 and 287 carry no meaning and produce nothing.
    }
}

int HuffmanTree::build(const uint32_t* lengths, uint32_t count, uint32_t maxLength)
{
    numCodes = count;
    uint32_t lengthCount[32] = {};
    uint32_t nextCode[32] = {};
    if (maxLength > 31 || count < 2) return 55;
    for (uint32_t s = 0; s < count; ++s) {
        if (lengths[s] > maxLength) return 55;
        if (lengths[s]) ++lengthCount[lengths[s]];
    }
    for (uint32_t bits = 1; bits <= maxLength; ++bits)
        nextCode[bits] = (nextCode[bits - 1] + lengthCount[bits - 1]) << 1;

    tree2d.assign(2 * size_t(count), kEmpty);
    uint32_t lastNode = 0;
    uint32_t node = 0;
    for (uint32_t s = 0; s < count; ++s) {
        const uint32_t length = lengths[s];
        if (length == 0) continue;
        const uint32_t code = nextCode[length]++;
        for (uint32_t i = 0; i < length; ++i) {
            const uint32_t bit = (code >> (length - i - 1)) & 1u;
            if (node > count - 2) return 55;
            uint32_t& slot = tree2d[2 * node + bit];
            if (slot == kEmpty) {
                if (i + 1 == length) {
                    slot = s;
                    node = 0;
                } else {
                    slot = ++lastNode + count;
                    node = lastNode;
                }
            } else {
                // An occupied slot: over-subscribed lengths land here. A leaf
                // turns `node` into a huge number that the check above rejects;
                // a link is followed, also after a code's last bit, so the next
                // code starts there. Deterministic and always inside the table.
                node = slot - count;
            }
        }
    }
    return 0;
}

} // namespace

int zlibDecompress(const uint8_t* in, size_t size, std::vector<uint8_t>& out)
{
    if (in == nullptr || size < 2) return 53;
    const unsigned cmf = in[0];
    const unsigned flg = in[1];
    if ((cmf * 256 + flg) % 31 != 0) return 24;
    if ((cmf & 15) != 8 || (cmf >> 4) > 7) return 25;
    if (flg & 0x20) return 26;
    Inflater inflater(in + 2, size - 2, size, out);
    return inflater.run();
}

} // namespace reference
