// OBJ file to mesh: read the bytes, parse, print the parse's messages.
#include "resources/ObjFile.h"
#include <fstream>
#include <string>
#include "resources/Messages.h"

ObjFileResult readObjFile(const char* fileName, ObjMesh& mesh)
{
    if (!fileName) return ObjFileResult::Unreadable;
    std::ifstream in(fileName, std::ios::binary);
    if (!in.is_open()) return ObjFileResult::Unreadable;
    // At once when the size is known, then in blocks until the stream ends (a file that grew, or
    // one that reports no size).
    std::string text;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    if (size > 0 && in) {
        text.resize(static_cast<size_t>(size));
        in.read(&text[0], size);
        text.resize(static_cast<size_t>(in.gcount()));
    }
    in.clear();
    char block[1 << 16];
    while (in.read(block, sizeof block) || in.gcount() > 0) text.append(block, static_cast<size_t>(in.gcount()));
    mesh = parseObj(text.data(), text.size(), fileName);
    for (const std::string& message : mesh.messages) printMessage("%s\n", message.c_str());
    if (mesh.vertices.empty()) {
        printMessage("Couldn't load %s", fileName);
        return ObjFileResult::Empty;
    }
    return ObjFileResult::Loaded;
}
