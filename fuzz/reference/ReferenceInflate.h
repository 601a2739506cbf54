// The bit-at-a-time inflater that src/resources/Zlib.cpp replaced, kept unchanged as the oracle
// for the differential fuzz target: it walks the Huffman tree one bit per step and builds no
// lookup tables, so it is slow but simple enough to read against the deflate format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace reference {

// Same contract and error codes as zlibDecompress (resources/Zlib.h) without an output limit.
int zlibDecompress(const uint8_t* in, size_t size, std::vector<uint8_t>& out);

} // namespace reference
