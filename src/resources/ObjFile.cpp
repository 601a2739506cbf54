// OBJ file to mesh: read the bytes through the whole-file reader, parse, print the parse's messages.
#include "resources/ObjFile.h"
#include <vector>
#include "resources/FileBytes.h"
#include "resources/Messages.h"

bool objFileReadable(const char* fileName)
{
    return fileName && fileReadable(fileName, kMaxObjFileBytes);
}

ObjFileResult readObjFile(const char* fileName, ObjMesh& mesh)
{
    std::vector<uint8_t> bytes;
    if (!fileName || !readWholeFile(fileName, bytes, kMaxObjFileBytes)) return ObjFileResult::Unreadable;
    const char* text = bytes.empty() ? "" : reinterpret_cast<const char*>(bytes.data());
    mesh = parseObj(text, bytes.size(), fileName);
    for (const std::string& message : mesh.messages) printMessage("%s\n", message.c_str());
    if (mesh.vertices.empty()) {
        printMessage("Couldn't load %s", fileName);
        return ObjFileResult::Empty;
    }
    return ObjFileResult::Loaded;
}
