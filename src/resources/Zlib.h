// Zlib inflater: decompresses a zlib stream (RFC 1950 wrapper around RFC 1951
// DEFLATE: stored, fixed-Huffman and dynamic-Huffman blocks).
// Supports: every block type, back-references, trailing data after the final
// block. Does not support: preset dictionaries (error 26), Adler-32 checking (the
// trailer is never read), streaming input. Pure function on bytes: no files, no GL.
//
// Error codes (0 = success):
//   10 symbol decoding ran more than the stream length past its start
//   11 a code that no symbol has          13/14/15 repeat 16/17/18 runs past the lengths
//   18 distance symbol 30 or 31          20 block type 3
//   21 stored block LEN/NLEN mismatch    23 stored block data runs past the stream
//   24 header check value                25 method not 8 or window above 7
//   26 preset dictionary                 49 dynamic header at the very end of the stream
//   50 repeat extra bits past the end    51 length/distance extra bits past the end
//   52 block header or stored LEN past the end   53 stream shorter than 2 bytes
//   55 code lengths need more tree nodes than exist   64 end-of-block code missing
//   56 a back-reference reaches before the first output byte
//   57 repeat code 16 with no previous length to repeat
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

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

// Decompresses the zlib stream `in` into `out`. `out` may be pre-sized by the
// caller (its contents beyond what is written are overwritten or cut). Returns
// 0 on success, with `out` holding exactly the decompressed bytes.
int zlibDecompress(const std::vector<uint8_t>& in, std::vector<uint8_t>& out);
int zlibDecompress(const uint8_t* in, size_t size, std::vector<uint8_t>& out);
// As above, keeping at most `maxOutput` bytes: the rest of the stream is decoded
// and checked all the same, so the code is the one the whole stream gives, but
// not stored; on success `out` holds the first min(total, maxOutput) bytes. A
// caller that needs a known amount bounds its memory by it whatever the stream
// holds.
int zlibDecompress(const uint8_t* in, size_t size, std::vector<uint8_t>& out, size_t maxOutput);
