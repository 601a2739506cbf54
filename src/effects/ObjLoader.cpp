// OBJ file to Model: file access, parse, upload.
#include "effects/ObjLoader.h"
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <utility>
#include "effects/Model.h"
#include "resources/Messages.h"
#include "resources/ObjParse.h"

bool loadObj(Model& model, const char* fileName)
{
    if (!fileName) return false;
    std::ifstream in(fileName);
    if (!in.is_open()) return false;

    // Parsed into fresh lists so that a failed load keeps the earlier mesh and a new one never
    // mixes its indices with those of the earlier load.
    std::vector<ObjVertex> vertices;
    std::vector<uint32_t> indices;
    parseObj(in, fileName, vertices, indices, messageStream());
    if (vertices.empty()) {
        printMessage("Couldn't load %s", fileName);
        return false;
    }

    model.setupVertexLayout();
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(ObjVertex)), vertices.data(),
                 GL_STATIC_DRAW);
    model.indices = std::move(indices);
    model.loaded = 1;
    return true;
}
