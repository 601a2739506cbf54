// Wavefront OBJ text to an indexed triangle mesh, without GL, without files and without printing:
// the part of the mesh loader that can be tested and fuzzed on its own.
//
// Understood: "v x y z", "vn x y z", "vt u v" and faces "f C C C ..." whose corners C are written
// "p", "p/t", "p//n" or "p/t/n" (position, texture and normal index; 1-based into the lists read so
// far, or negative: -1 is the last one read). A face with more than three corners is split into a
// fan of triangles around its first corner. Every other line (comments, o, g, s, usemtl, mtllib,
// l, p, ...) is skipped. Materials are not read.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One interleaved mesh vertex as the GPU buffer holds it (32 bytes).
struct ObjVertex {
    float position[3];
    float normal[3];
    float texcoords[2];
};
static_assert(sizeof(ObjVertex) == 32, "mesh vertices are 32 bytes");

// Lines are read up to this size; a longer line keeps its first kObjLineMax - 1 characters and the
// rest of it is dropped. A line also ends at a NUL byte, and one carriage return at its end is
// dropped.
constexpr int kObjLineMax = 256;

struct ObjMesh {
    // Every face corner becomes one vertex; corners that repeat the same (position, normal,
    // texture) index triple share one, in the order of their first use. Parts a corner does not
    // give (no normal, no texture index) are zero.
    std::vector<ObjVertex> vertices;
    std::vector<uint32_t> indices; // three per triangle, into `vertices`
    // One line per skipped face, without line end, in file order: a face with fewer than three
    // corners, a corner that is not one of the four forms, or an index that is zero or outside
    // the lists read so far gives "Skipped face with a bad index in FILE line N".
    std::vector<std::string> messages;
};

// Parses `size` bytes of OBJ text; `fileName` only names the file in the messages.
ObjMesh parseObj(const char* data, size_t size, const char* fileName);
