// OBJ file to Model: read and parse (ObjFile.h), then upload.
#include "effects/ObjLoader.h"
#include <utility>
#include "effects/Model.h"
#include "resources/ObjFile.h"

bool loadObj(Model& model, const char* fileName)
{
    // Parsed into a fresh mesh so that a failed load keeps the earlier mesh and a new one never
    // mixes its indices with those of the earlier load.
    ObjMesh mesh;
    if (readObjFile(fileName, mesh) != ObjFileResult::Loaded) return false;

    model.setupVertexLayout();
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(mesh.vertices.size() * sizeof(ObjVertex)),
                 mesh.vertices.data(), GL_STATIC_DRAW);
    model.indices = std::move(mesh.indices);
    model.loaded = 1;
    return true;
}
