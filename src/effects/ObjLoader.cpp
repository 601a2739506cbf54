// OBJ file to Model: file access, parse, upload.
#include "effects/ObjLoader.h"
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include "effects/Model.h"
#include "resources/ObjParse.h"

namespace {
struct Mesh {
    std::vector<ObjVertex> vertices;
    std::vector<uint32_t> indices;
};
bool g_meshMemoryOn = false;
std::map<std::string, Mesh>& meshMemory()
{
    static std::map<std::string, Mesh> map;
    return map;
}

// The remembered mesh of the file, when the memory is on and holds one.
bool recall(const char* fileName, std::vector<ObjVertex>& vertices, std::vector<uint32_t>& indices)
{
    if (!g_meshMemoryOn) return false;
    auto it = meshMemory().find(fileName);
    if (it == meshMemory().end()) return false;
    vertices = it->second.vertices;
    indices = it->second.indices;
    return true;
}
} // namespace

void setMeshMemory(bool on)
{
    g_meshMemoryOn = on;
    if (!on) meshMemory().clear();
}

bool loadObj(Model& model, const char* fileName)
{
    if (!fileName) return false;
    // Parsed into fresh lists so that a failed load keeps the earlier mesh and a new one never
    // mixes its indices with those of the earlier load.
    std::vector<ObjVertex> vertices;
    std::vector<uint32_t> indices;
    std::ifstream in(fileName);
    if (!in.is_open()) {
        if (!recall(fileName, vertices, indices)) return false;
    } else {
        parseObj(in, fileName, vertices, indices);
        if (vertices.empty()) {
            std::printf("Couldn't load %s", fileName);
            if (!recall(fileName, vertices, indices)) return false;
        } else if (g_meshMemoryOn) {
            meshMemory()[fileName] = Mesh{vertices, indices};
        }
    }

    model.setupVertexLayout();
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(ObjVertex)), vertices.data(),
                 GL_STATIC_DRAW);
    model.indices = std::move(indices);
    model.vertices.clear(); // the vertices now live only in the buffer
    model.loaded = 1;
    return true;
}
