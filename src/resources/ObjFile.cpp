// OBJ file to mesh: read the bytes, parse, print the parse's messages.
#include "resources/ObjFile.h"
#include <fstream>
#include <iterator>
#include <string>
#include "resources/Messages.h"

ObjFileResult readObjFile(const char* fileName, ObjMesh& mesh)
{
    if (!fileName) return ObjFileResult::Unreadable;
    std::ifstream in(fileName, std::ios::binary);
    if (!in.is_open()) return ObjFileResult::Unreadable;
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    mesh = parseObj(text.data(), text.size(), fileName);
    for (const std::string& message : mesh.messages) printMessage("%s\n", message.c_str());
    if (mesh.vertices.empty()) {
        printMessage("Couldn't load %s", fileName);
        return ObjFileResult::Empty;
    }
    return ObjFileResult::Loaded;
}
