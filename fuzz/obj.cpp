// Feeds arbitrary bytes to the OBJ parser (no GL, no files) and checks the mesh it builds: whole
// triangles only, and every index names a vertex that exists.
#include <cstdint>
#include <cstdlib>
#include "resources/ObjParse.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const ObjMesh mesh = parseObj(reinterpret_cast<const char*>(data), size, "fuzz.obj");
    if (mesh.indices.size() % 3 != 0) std::abort();
    for (uint32_t i : mesh.indices)
        if (i >= mesh.vertices.size()) std::abort();
    return 0;
}
