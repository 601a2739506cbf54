// Wavefront OBJ text to an indexed triangle mesh, without GL and without files: the part of the
// mesh loader that can be tested and fuzzed on its own.
//
// Understood: "v x y z", "vn x y z", "vt u v" and triangle faces "f a b c", "f a//n b//n c//n" and
// "f a/t/n b/t/n c/t/n" (1-based indices into the lists read so far). A face with more corners
// gives its first triangle only. Everything else (comments, o, g, s, usemtl, mtllib, ...) is
// skipped. Not supported: relative (negative) indices, the "a/t" form without normals, quads split
// into two triangles, materials.
#pragma once
#include <cstdint>
#include <cstdio>
#include <istream>
#include <vector>

// One interleaved mesh vertex as the GPU buffer holds it (32 bytes).
struct ObjVertex {
    float position[3];
    float normal[3];
    float texcoords[2];
};
static_assert(sizeof(ObjVertex) == 32, "mesh vertices are 32 bytes");

// Lines are read into a buffer of this size; longer lines keep their first kObjLineMax - 1
// characters and the rest of the line is dropped.
constexpr int kObjLineMax = 256;

// Parses the whole stream. Every face corner becomes one vertex, corners that repeat the same
// (position, normal, texture) index triple share one; three indices per face are appended to
// `indices` (into `vertices`, which the parse appends to as well; pass both empty).
// A face with an index that is zero, negative, missing or past the lists read so far is skipped
// with a message on `messages` naming `fileName` and the line number (nullptr: no messages).
// Returns the number of skipped faces.
int parseObj(std::istream& in, const char* fileName, std::vector<ObjVertex>& vertices,
             std::vector<uint32_t>& indices, std::FILE* messages = stdout);
