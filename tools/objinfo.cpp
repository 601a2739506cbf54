// objinfo FILE.obj: reads an OBJ file with the demo's own loader (no GL), prints the loader's
// messages as the demo would, then "VERTICES TRIANGLES" after corner merging. Exit status: 0
// loaded, 1 where the demo prints "Couldn't load", 2 wrong arguments or an unreadable file.
#include <cstdio>
#include <filesystem>
#include "resources/Messages.h"
#include "resources/ObjFile.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: objinfo FILE.obj\n");
        return 2;
    }
    std::error_code ignored;
    ObjMesh mesh;
    // Directories open as streams on Linux and then read as empty: refuse them first.
    if (std::filesystem::is_directory(argv[1], ignored)) {
        std::fprintf(stderr, "objinfo: cannot read %s\n", argv[1]);
        return 2;
    }
    switch (readObjFile(argv[1], mesh)) {
    case ObjFileResult::Unreadable: std::fprintf(stderr, "objinfo: cannot read %s\n", argv[1]); return 2;
    case ObjFileResult::Empty:
        printMessage("\n"); // the demo's message has no line end of its own
        return 1;
    case ObjFileResult::Loaded: break;
    }
    printMessage("%zu %zu\n", mesh.vertices.size(), mesh.indices.size() / 3);
    flushMessages();
    return 0;
}
