// Zlib inflater: header checks, block loop, stored and Huffman blocks, and the
// canonical Huffman table. Huffman codes are resolved through lookup tables
// derived from that table (codes of up to 10 bits in one step, longer ones
// through a second level); near the end of the input, and for anything the
// lookup tables leave open, the table is walked one bit per step, so results
// and error codes are those of the plain walk. Bytes asked for beyond the end
// of the input read as zero.
#include "resources/Zlib.h"
#include "resources/DecodeErrors.h"

#include <algorithm>
#include <cstring>

namespace {

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

// A lookup entry packs what one table slot resolves to: bits 0-4 the code bits
// it consumes (counted from the start of the code, in second-level tables too),
// bits 5-7 its kind, bits 8-15 the extra bits of a length or distance or the
// index bits of a second-level table, bits 16-31 the value (literal byte,
// length or distance base, start of the second-level table).
enum Kind : uint32_t { kLiteral, kBase, kEndOfBlock, kNothing, kBadDistance, kSubTable, kWalk };

constexpr unsigned kRootBits = 10;
// Second-level tables resolve up to this many more bits; every valid code
// (at most 15 bits) fits, deeper walks go bit by bit.
constexpr unsigned kMaxSubBits = 6;

constexpr uint32_t makeEntry(unsigned bits, Kind kind, unsigned small, unsigned value)
{
    return bits | (uint32_t(kind) << 5) | (small << 8) | (uint32_t(value) << 16);
}
inline unsigned entryBits(uint32_t e)
{
    return e & 31;
}
inline unsigned entryKind(uint32_t e)
{
    return (e >> 5) & 7;
}
inline unsigned entrySmall(uint32_t e)
{
    return (e >> 8) & 255;
}
inline unsigned entryValue(uint32_t e)
{
    return e >> 16;
}
constexpr uint32_t kWalkEntry = makeEntry(0, kWalk, 0, 0);

uint32_t litLenLeaf(uint32_t symbol, unsigned bits)
{
    if (symbol < 256) return makeEntry(bits, kLiteral, 0, symbol);
    if (symbol == 256) return makeEntry(bits, kEndOfBlock, 0, 0);
    if (symbol <= 285) return makeEntry(bits, kBase, kLengthExtra[symbol - 257], kLengthBase[symbol - 257]);
    return makeEntry(bits, kNothing, 0, 0); // 286 and 287 produce nothing
}

uint32_t distanceLeaf(uint32_t symbol, unsigned bits)
{
    if (symbol <= 29) return makeEntry(bits, kBase, kDistanceExtra[symbol], kDistanceBase[symbol]);
    return makeEntry(bits, kBadDistance, 0, 0);
}

// One Huffman code: the node table that defines it and the lookup tables
// derived from it. The lookup tables are filled by walking the node table
// itself, so they agree with the bit-by-bit walk for every input, including
// incomplete and over-subscribed codes: a path that reaches an empty slot, or
// runs deeper than the tables reach, becomes a kWalk entry.
struct Code {
    using LeafFn = uint32_t (*)(uint32_t symbol, unsigned bits);
    HuffmanTree tree;
    std::vector<uint32_t> lookup;

    void buildLookup(LeafFn leaf)
    {
        lookup.assign(size_t(1) << kRootBits, kWalkEntry);
        fill(leaf, 0, 0, 0, 0, kRootBits, 0);
    }

private:
    bool isLink(uint32_t slot) const { return slot >= tree.numCodes && slot - tree.numCodes < tree.numCodes; }

    // Levels below `node` still to resolve, at most `cap`.
    unsigned height(uint32_t node, unsigned cap) const
    {
        unsigned h = 1;
        for (unsigned b = 0; b < 2 && h < cap; ++b) {
            const uint32_t slot = tree.tree2d[2 * node + b];
            if (isLink(slot)) h = std::max(h, 1 + height(slot - tree.numCodes, cap - 1));
        }
        return h;
    }

    // Fills the entries of the table at `base` (`tableBits` index bits, which
    // start `startDepth` bits into the code) below `node`, reached after
    // `depth` of its bits forming `path`.
    void fill(LeafFn leaf, uint32_t node, unsigned depth, uint32_t path, size_t base, unsigned tableBits,
              unsigned startDepth)
    {
        const uint32_t n = tree.numCodes;
        for (uint32_t b = 0; b < 2; ++b) {
            const uint32_t slot = tree.tree2d[2 * node + b];
            const unsigned d = depth + 1;
            const uint32_t p = path | (b << depth);
            uint32_t e = kWalkEntry;
            if (slot < n) {
                e = leaf(slot, startDepth + d);
            } else if (isLink(slot)) {
                if (d < tableBits) {
                    fill(leaf, slot - n, d, p, base, tableBits, startDepth);
                    continue;
                }
                if (startDepth == 0) e = subTable(leaf, slot - n);
            }
            for (size_t i = p; i < (size_t(1) << tableBits); i += size_t(1) << d) lookup[base + i] = e;
        }
    }

    uint32_t subTable(LeafFn leaf, uint32_t node)
    {
        const unsigned bits = height(node, kMaxSubBits);
        const size_t base = lookup.size(); // below 1024 + 287 * 64, fits the 16-bit value
        lookup.resize(base + (size_t(1) << bits), kWalkEntry);
        fill(leaf, node, 0, 0, base, bits, kRootBits);
        return makeEntry(kRootBits, kSubTable, bits, unsigned(base));
    }
};

inline uint64_t load64(const uint8_t* p)
{
    uint64_t v;
    std::memcpy(&v, p, 8);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    v = __builtin_bswap64(v);
#endif
    return v;
}

// The fast loop runs while the output buffer has this many bytes past the
// output position: the longest copy, the overshoot of word copies, and two
// more literals.
constexpr size_t kOutputSlack = 258 + 8;

class Inflater {
public:
    // `data` points at the first byte after the two header bytes; `avail` bytes
    // follow it. `limit` is the length of the whole stream, header included:
    // every end-of-input check compares the byte position with it. Output past
    // `maxOutput` bytes is counted but not stored.
    Inflater(const uint8_t* data, size_t avail, size_t limit, std::vector<uint8_t>& out, size_t maxOutput)
        : data_(data), avail_(avail), limit_(limit), out_(out), maxOutput_(maxOutput)
    {
    }

    int run();

    int error = 0;

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
    void fixedCodes();
    void dynamicCodes();
    void huffmanBlock(const Code& litLen, const Code& distance);
    template <bool kStore>
    int fastSymbols(const Code& litLen, const Code& distance);
    bool walkSymbol(const Code& litLen, const Code& distance);
    bool walkCopy(const Code& distance, size_t length);
    void grow(size_t needed);
    void emitLiteral(uint8_t value);
    void emitCopy(size_t distance, size_t length);

    const uint8_t* data_;
    size_t avail_;
    size_t limit_;
    size_t bitPos_ = 0;
    std::vector<uint8_t>& out_;
    size_t maxOutput_;
    size_t outPos_ = 0;
    Code fixedLitLen_, fixedDistance_, litLen_, distance_, codeLength_;
    bool fixedBuilt_ = false;
};

int Inflater::run()
{
    error = 0;
    bitPos_ = 0;
    outPos_ = 0;
    while (error == 0) {
        if (bytePos() >= limit_) {
            error = ZlibBlockHeaderPastEnd;
            break;
        }
        unsigned final = readBit();
        unsigned type = readBits(2);
        if (type == 3) {
            error = ZlibBadBlockType;
        } else if (type == 0) {
            storedBlock();
        } else if (type == 1) {
            fixedCodes();
            if (error == 0) huffmanBlock(fixedLitLen_, fixedDistance_);
        } else {
            dynamicCodes();
            if (error == 0) huffmanBlock(litLen_, distance_);
        }
        if (final) break;
    }
    if (error == 0) out_.resize(std::min(outPos_, maxOutput_));
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
                return ZlibSymbolPastEnd;
            }
            current = byteAt(pos >> 3);
        }
        const unsigned bit = (current >> (pos & 7)) & 1u;
        ++pos;
        if (node >= n) {
            bitPos_ = pos;
            return ZlibUnknownCode;
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

void Inflater::grow(size_t needed)
{
    // Room for the fast loop past `needed`, doubling for amortised growth, never
    // more than the caller allows.
    size_t size = std::max(needed + kOutputSlack, 2 * out_.size());
    out_.resize(std::max(needed, std::min(size, maxOutput_)));
}

void Inflater::storedBlock()
{
    bitPos_ = (bitPos_ + 7) & ~size_t(7);
    size_t p = bytePos();
    if (p + 4 >= limit_) {
        error = ZlibBlockHeaderPastEnd;
        return;
    }
    size_t len = byteAt(p) | (size_t(byteAt(p + 1)) << 8);
    size_t nlen = byteAt(p + 2) | (size_t(byteAt(p + 3)) << 8);
    if (len + nlen != 65535) {
        error = ZlibStoredLengthMismatch;
        return;
    }
    p += 4;
    const size_t kept = outPos_ < maxOutput_ ? std::min(len, maxOutput_ - outPos_) : 0;
    if (kept && outPos_ + kept > out_.size()) out_.resize(outPos_ + kept);
    if (p + len > limit_) {
        error = ZlibStoredPastEnd;
        return;
    }
    // Up to two of the block's bytes may lie past the input (the limit counts
    // the header bytes too); they read as zero.
    size_t present = p >= avail_ ? 0 : std::min(avail_ - p, kept);
    if (present) std::memcpy(out_.data() + outPos_, data_ + p, present);
    if (present < kept) std::memset(out_.data() + outPos_ + present, 0, kept - present);
    outPos_ += len;
    bitPos_ = (p + len) * 8;
}

void Inflater::fixedCodes()
{
    if (fixedBuilt_) return;
    uint32_t lengths[288];
    for (unsigned i = 0; i < 288; ++i) lengths[i] = i < 144 ? 8 : i < 256 ? 9 : i < 280 ? 7 : 8;
    uint32_t distances[32];
    for (unsigned i = 0; i < 32; ++i) distances[i] = 5;
    error = fixedLitLen_.tree.build(lengths, 288, 15);
    if (error == 0) error = fixedDistance_.tree.build(distances, 32, 15);
    if (error) return;
    fixedLitLen_.buildLookup(litLenLeaf);
    fixedDistance_.buildLookup(distanceLeaf);
    fixedBuilt_ = true;
}

void Inflater::dynamicCodes()
{
    if (bytePos() + 2 >= limit_) {
        error = ZlibDynamicHeaderAtEnd;
        return;
    }
    const unsigned hlit = readBits(5) + 257;
    const unsigned hdist = readBits(5) + 1;
    const unsigned hclen = readBits(4) + 4;

    uint32_t codeLengths[19] = {};
    for (unsigned i = 0; i < 19; ++i) codeLengths[kCodeLengthOrder[i]] = i < hclen ? readBits(3) : 0;
    error = codeLength_.tree.build(codeLengths, 19, 7);
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
        error = decodeSymbol(codeLength_.tree, code);
        if (error) return;
        if (code <= 15) {
            store(i++, code);
            continue;
        }
        if (bytePos() >= limit_) {
            error = ZlibRepeatBitsPastEnd;
            return;
        }
        unsigned repeat;
        uint32_t value = 0;
        int overrun;
        if (code == 16) {
            repeat = 3 + readBits(2);
            if (i == 0) { // nothing to repeat yet
                error = ZlibRepeatWithoutPrevious;
                return;
            }
            value = stored(i - 1);
            overrun = ZlibRepeatPastLengths;
        } else if (code == 17) {
            repeat = 3 + readBits(3);
            overrun = ZlibShortZerosPastLengths;
        } else {
            repeat = 11 + readBits(7);
            overrun = ZlibLongZerosPastLengths;
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
        error = ZlibNoEndOfBlock;
        return;
    }
    error = litLen_.tree.build(litLen, 288, 15);
    if (error == 0) error = distance_.tree.build(distances, 32, 15);
    if (error) return;
    litLen_.buildLookup(litLenLeaf);
    distance_.buildLookup(distanceLeaf);
}

void Inflater::emitLiteral(uint8_t value)
{
    if (outPos_ < maxOutput_) {
        if (outPos_ >= out_.size()) grow(outPos_ + 1);
        out_[outPos_] = value;
    }
    ++outPos_;
}

void Inflater::emitCopy(size_t distance, size_t length)
{
    if (outPos_ < maxOutput_) {
        const size_t kept = std::min(length, maxOutput_ - outPos_);
        if (outPos_ + kept > out_.size()) grow(outPos_ + kept);
        // Byte by byte: a distance shorter than the length repeats the last
        // distance-many bytes.
        uint8_t* o = out_.data() + outPos_;
        const uint8_t* from = o - distance;
        for (size_t k = 0; k < kept; ++k) o[k] = from[k];
    }
    outPos_ += length;
}

// The rest of a back-reference whose length is known, bit by bit; true when
// an error ends the block.
bool Inflater::walkCopy(const Code& distanceCode, size_t length)
{
    unsigned distSymbol = 0;
    error = decodeSymbol(distanceCode.tree, distSymbol);
    if (error) return true;
    if (distSymbol > 29) {
        error = ZlibBadDistanceSymbol;
        return true;
    }
    if (bytePos() >= limit_) {
        error = ZlibExtraBitsPastEnd;
        return true;
    }
    size_t distance = kDistanceBase[distSymbol] + readBits(kDistanceExtra[distSymbol]);
    if (distance > outPos_) { // would reach before the first output byte
        error = ZlibReferenceBeforeStart;
        return true;
    }
    emitCopy(distance, length);
    return false;
}

// One symbol by walking the node tables bit by bit; true when the block ends
// (end-of-block code or an error).
bool Inflater::walkSymbol(const Code& litLen, const Code& distance)
{
    unsigned symbol = 0;
    error = decodeSymbol(litLen.tree, symbol);
    if (error) return true;
    if (symbol < 256) {
        emitLiteral(static_cast<uint8_t>(symbol));
    } else if (symbol == 256) {
        return true;
    } else if (symbol <= 285) {
        if (bytePos() >= limit_) {
            error = ZlibExtraBitsPastEnd;
            return true;
        }
        size_t length = kLengthBase[symbol - 257] + readBits(kLengthExtra[symbol - 257]);
        return walkCopy(distance, length);
    }
    // Symbols 286 and 287 carry no meaning and produce nothing.
    return false;
}

enum FastResult { kNeedWalk, kBlockEnded, kAgain };

// Decodes symbols through the lookup tables while the input and output
// margins hold (no end-of-input check can fire there). Bits come from a 64-bit
// buffer refilled to at least 56 bits once per step, enough for a length and
// a distance with their extra bits or for three literals. With kStore false
// the output is only counted (it lies past the caller's limit).
template <bool kStore>
int Inflater::fastSymbols(const Code& litLen, const Code& distanceCode)
{
    constexpr uint32_t kRootMask = (1u << kRootBits) - 1;
    const size_t startByte = bitPos_ >> 3;
    if (avail_ < 8 || startByte > avail_ - 8) return kNeedWalk;
    const uint8_t* const inEnd = data_ + avail_ - 8; // the last place an 8-byte load may start
    const size_t room = std::min(out_.size(), maxOutput_);
    const size_t outEnd = kStore ? (room > kOutputSlack ? room - kOutputSlack : 0) : SIZE_MAX;
    const uint32_t* litTable = litLen.lookup.data();
    const uint32_t* distTable = distanceCode.lookup.data();
    uint8_t* const out = out_.data();
    size_t outPos = outPos_;

    // The low `bitsLeft` bits of `bitBuffer` are the next bits of the stream;
    // the bits above them, when there are any, are the stream's bits too.
    const uint8_t* in = data_ + startByte;
    uint64_t bitBuffer = 0;
    unsigned bitsLeft = 0;
    auto refill = [&] {
        bitBuffer |= load64(in) << bitsLeft;
        in += (63 - bitsLeft) >> 3;
        bitsLeft |= 56;
    };
    auto consume = [&](unsigned n) {
        bitBuffer >>= n;
        bitsLeft -= n;
    };
    refill();
    consume(unsigned(bitPos_ & 7));

    int result = kNeedWalk;
    while (in <= inEnd && outPos < outEnd) {
        refill();
        uint32_t e = litTable[bitBuffer & kRootMask];
        if (entryKind(e) == kSubTable)
            e = litTable[entryValue(e) + ((bitBuffer >> kRootBits) & ((1u << entrySmall(e)) - 1))];
        const unsigned kind = entryKind(e);
        if (kind == kLiteral) {
            // Up to two more literals whose codes resolve in the first level
            // (at most 16 + 10 + 10 bits of the 56); the output margin covers them.
            consume(entryBits(e));
            if (kStore) out[outPos] = uint8_t(entryValue(e));
            ++outPos;
            e = litTable[bitBuffer & kRootMask];
            if (entryKind(e) != kLiteral) continue;
            consume(entryBits(e));
            if (kStore) out[outPos] = uint8_t(entryValue(e));
            ++outPos;
            e = litTable[bitBuffer & kRootMask];
            if (entryKind(e) != kLiteral) continue;
            consume(entryBits(e));
            if (kStore) out[outPos] = uint8_t(entryValue(e));
            ++outPos;
            continue;
        }
        if (kind == kBase) {
            // A length (at most 16 + 5 bits) and a distance (16 + 13).
            const unsigned n = entryBits(e);
            const unsigned extra = entrySmall(e);
            const size_t length = entryValue(e) + ((bitBuffer >> n) & ((1u << extra) - 1));
            consume(n + extra);
            e = distTable[bitBuffer & kRootMask];
            if (entryKind(e) == kSubTable)
                e = distTable[entryValue(e) + ((bitBuffer >> kRootBits) & ((1u << entrySmall(e)) - 1))];
            if (entryKind(e) != kBase) {
                if (entryKind(e) == kBadDistance) {
                    error = ZlibBadDistanceSymbol;
                    result = kBlockEnded;
                    break;
                }
                // The bit-by-bit walk decodes this distance.
                bitPos_ = size_t(in - data_) * 8 - bitsLeft;
                outPos_ = outPos;
                return walkCopy(distanceCode, length) ? kBlockEnded : kAgain;
            }
            const unsigned dn = entryBits(e);
            const unsigned dextra = entrySmall(e);
            const size_t distance = entryValue(e) + ((bitBuffer >> dn) & ((1u << dextra) - 1));
            consume(dn + dextra);
            if (distance > outPos) { // would reach before the first output byte
                error = ZlibReferenceBeforeStart;
                result = kBlockEnded;
                break;
            }
            if (kStore) {
                uint8_t* o = out + outPos;
                const uint8_t* from = o - distance;
                uint8_t* const end = o + length;
                // Word copies may write up to 7 bytes past the end, inside the slack.
                if (distance >= 8) {
                    do {
                        std::memcpy(o, from, 8);
                        o += 8;
                        from += 8;
                    } while (o < end);
                } else if (distance == 1) {
                    const uint64_t word = uint64_t(*from) * 0x0101010101010101ull;
                    do {
                        std::memcpy(o, &word, 8);
                        o += 8;
                    } while (o < end);
                } else {
                    for (size_t k = 0; k < length; ++k) o[k] = from[k];
                }
            }
            outPos += length;
            continue;
        }
        if (kind == kEndOfBlock) {
            consume(entryBits(e));
            result = kBlockEnded;
            break;
        }
        if (kind == kNothing) {
            consume(entryBits(e));
            continue;
        }
        break; // kWalk: the walk decodes this symbol
    }
    bitPos_ = size_t(in - data_) * 8 - bitsLeft;
    outPos_ = outPos;
    return result;
}

void Inflater::huffmanBlock(const Code& litLen, const Code& distance)
{
    for (;;) {
        const int result =
            outPos_ < maxOutput_ ? fastSymbols<true>(litLen, distance) : fastSymbols<false>(litLen, distance);
        if (result == kBlockEnded) return;
        if (result == kNeedWalk && walkSymbol(litLen, distance)) return;
    }
}

} // namespace

int HuffmanTree::build(const uint32_t* lengths, uint32_t count, uint32_t maxLength)
{
    numCodes = count;
    uint32_t lengthCount[32] = {};
    uint32_t nextCode[32] = {};
    if (maxLength > 31 || count < 2) return ZlibBadCodeLengths;
    for (uint32_t s = 0; s < count; ++s) {
        if (lengths[s] > maxLength) return ZlibBadCodeLengths;
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
            if (node > count - 2) return ZlibBadCodeLengths;
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

int zlibDecompress(const uint8_t* in, size_t size, std::vector<uint8_t>& out, size_t maxOutput)
{
    if (in == nullptr || size < 2) return ZlibStreamTooShort;
    const unsigned cmf = in[0];
    const unsigned flg = in[1];
    if ((cmf * 256 + flg) % 31 != 0) return ZlibHeaderCheck;
    if ((cmf & 15) != 8 || (cmf >> 4) > 7) return ZlibBadMethod;
    if (flg & 0x20) return ZlibPresetDictionary;
    Inflater inflater(in + 2, size - 2, size, out, maxOutput);
    return inflater.run();
}

int zlibDecompress(const uint8_t* in, size_t size, std::vector<uint8_t>& out)
{
    return zlibDecompress(in, size, out, SIZE_MAX);
}

int zlibDecompress(const std::vector<uint8_t>& in, std::vector<uint8_t>& out)
{
    return zlibDecompress(in.data(), in.size(), out, SIZE_MAX);
}
