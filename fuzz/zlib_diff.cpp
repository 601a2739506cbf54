// Fuzz target: the table-driven inflater against the bit-at-a-time reference on the same bytes.
// Both must give the same code and, on success, the same output; with an output limit (taken
// from the last input byte) the code stays the same and the output is the reference's, cut.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "reference/ReferenceInflate.h"
#include "resources/Zlib.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> expected;
    const int code = reference::zlibDecompress(data, size, expected);
    std::vector<uint8_t> out;
    if (zlibDecompress(data, size, out) != code) __builtin_trap();
    if (code == 0 && out != expected) __builtin_trap();

    // Limits from 0 to the whole output, the PNG decoder's way: pre-sized to the limit.
    const unsigned last = size ? data[size - 1] : 0;
    const size_t limit = code == 0 ? expected.size() * (last % 5) / 4 : last * 64;
    std::vector<uint8_t> bounded(limit);
    if (zlibDecompress(data, size, bounded, limit) != code) __builtin_trap();
    if (bounded.capacity() > limit) __builtin_trap(); // never grown past the limit
    if (code == 0) {
        if (limit < expected.size()) expected.resize(limit);
        if (bounded != expected) __builtin_trap();
    }
    return 0;
}
