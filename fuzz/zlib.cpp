// Fuzz target: the zlib inflater on arbitrary bytes, with and without a
// pre-sized output buffer. Any return code is fine; crashes and sanitizer
// reports are not.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "resources/Zlib.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> out;
    const int error = zlibDecompress(data, size, out);
    std::vector<uint8_t> presized(size * 3 + 1);
    const int again = zlibDecompress(data, size, presized);
    // The result must not depend on the pre-sized buffer.
    if (error != again || (error == 0 && out != presized)) __builtin_trap();
    return 0;
}
