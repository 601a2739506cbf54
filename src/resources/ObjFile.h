// Reads an OBJ file and parses it as the demo's "loadobj" does, printing what the demo prints,
// without GL: shared by the mesh loader and the objinfo tool.
#pragma once
#include "resources/ObjParse.h"

enum class ObjFileResult {
    Loaded,     // at least one vertex; the parse's messages were printed
    Unreadable, // the file does not open; nothing printed
    Empty,      // no usable face: the messages and then "Couldn't load FILE" were printed
};

ObjFileResult readObjFile(const char* fileName, ObjMesh& mesh);
