// Feeds arbitrary bytes to the OBJ parser (no GL, no files) and checks the mesh it builds: whole
// triangles only, and every index names a vertex that exists.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>
#include "resources/ObjParse.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::vector<ObjVertex> vertices;
    std::vector<uint32_t> indices;
    parseObj(in, "fuzz.obj", vertices, indices, nullptr);
    if (indices.size() % 3 != 0) std::abort();
    for (uint32_t i : indices)
        if (i >= vertices.size()) std::abort();
    return 0;
}
