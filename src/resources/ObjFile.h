// Reads an OBJ file and parses it as the demo's "loadobj" does, printing what the demo prints,
// without GL: shared by the mesh loader, the script checker and the objinfo tool.
#pragma once
#include <cstdint>
#include "resources/ObjParse.h"

// The largest mesh file read (about 2.5 million triangles as exporters write them); a longer one
// is not read, like one that cannot be opened.
constexpr uint64_t kMaxObjFileBytes = uint64_t(256) << 20;

enum class ObjFileResult {
    Loaded,     // at least one vertex; the parse's messages were printed
    Unreadable, // not a readable regular file of at most kMaxObjFileBytes; nothing printed
    Empty,      // no usable face: the messages and then "Couldn't load FILE" were printed
};

ObjFileResult readObjFile(const char* fileName, ObjMesh& mesh);
// Whether readObjFile would read the file (rather than find it Unreadable), without reading it.
bool objFileReadable(const char* fileName);
