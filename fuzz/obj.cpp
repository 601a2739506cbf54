// Feeds arbitrary bytes to the OBJ parser (no GL, no files) and checks the mesh it builds: whole
// triangles only, every index names a vertex that exists, and vertices, indices and messages are
// exactly those of the plain reference parser (ObjReference.h).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include "ObjReference.h"
#include "resources/ObjParse.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* text = reinterpret_cast<const char*>(data);
    const ObjMesh mesh = parseObj(text, size, "fuzz.obj");
    if (mesh.indices.size() % 3 != 0) std::abort();
    for (uint32_t i : mesh.indices)
        if (i >= mesh.vertices.size()) std::abort();
    const ObjMesh reference = objreference::parseObj(text, size, "fuzz.obj");
    if (mesh.indices != reference.indices || mesh.messages != reference.messages ||
        mesh.vertices.size() != reference.vertices.size() ||
        (!mesh.vertices.empty() &&
         std::memcmp(mesh.vertices.data(), reference.vertices.data(), mesh.vertices.size() * sizeof(ObjVertex)) != 0))
        std::abort();
    return 0;
}
