// OBJ file to Model: read and parse (ObjFile.h), then upload.
#include "effects/ObjLoader.h"
#include <map>
#include <set>
#include <string>
#include <utility>
#include "effects/Model.h"
#include "resources/ObjFile.h"

namespace {
bool g_meshMemoryOn = false;
std::map<std::string, ObjMesh>& meshMemory()
{
    static std::map<std::string, ObjMesh> map;
    return map;
}

std::set<std::string>& meshNames()
{
    static std::set<std::string> names;
    return names;
}

// The remembered mesh of the file, when the memory is on and holds one.
bool recall(const char* fileName, ObjMesh& mesh)
{
    if (!g_meshMemoryOn) return false;
    auto it = meshMemory().find(fileName);
    if (it == meshMemory().end()) return false;
    mesh = it->second;
    return true;
}
} // namespace

void setMeshMemory(bool on)
{
    g_meshMemoryOn = on;
    if (on) return;
    meshMemory().clear();
    meshNames().clear();
}

bool loadObj(Model& model, const char* fileName)
{
    if (!fileName) return false;
    // Parsed into a fresh mesh so that a failed load keeps the earlier mesh and a new one never
    // mixes its indices with those of the earlier load. While the mesh memory is on (edit mode), a
    // file that is missing or unusable for a moment gives the last mesh that loaded from it.
    ObjMesh mesh;
    if (g_meshMemoryOn) meshNames().insert(fileName);
    if (readObjFile(fileName, mesh) == ObjFileResult::Loaded) {
        if (g_meshMemoryOn) meshMemory()[fileName] = mesh;
    } else if (!recall(fileName, mesh)) {
        return false;
    }

    model.setupVertexLayout();
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(mesh.vertices.size() * sizeof(ObjVertex)),
                 mesh.vertices.data(), GL_STATIC_DRAW);
    model.indices = std::move(mesh.indices);
    model.loaded = 1;
    return true;
}

std::vector<std::string> namedMeshFiles()
{
    return std::vector<std::string>(meshNames().begin(), meshNames().end());
}
