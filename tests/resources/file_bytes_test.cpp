// The whole-file reader and the OBJ reader on every kind of path: only regular files within the
// bound are read; folders, FIFOs without a writer, devices and missing files are unreadable at once,
// and the OBJ reader treats them all as a missing mesh, silently.
#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <vector>
#include "resources/FileBytes.h"
#include "resources/ObjFile.h"
#include "support/CaptureMessages.h"
#include "support/TempDir.h"

TEST(FileBytes, OnlyRegularFilesWithinTheBoundAreRead)
{
    ScopedWorkDir dir;
    const std::string triangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n"; // 32 bytes
    dir.write("tri.obj", triangle);
    dir.write("meshes/keep", "");
    ASSERT_EQ(::mkfifo("pipe.obj", 0600), 0);
    std::filesystem::create_symlink("meshes", "folder.obj");
    std::ofstream("huge.obj").close();
    std::filesystem::resize_file("huge.obj", uint64_t(1) << 40); // sparse: refused by its size alone

    // {path, bound, read}
    const struct {
        const char* path;
        uint64_t bound;
        bool read;
    } rows[] = {
        {"tri.obj", kMaxFileBytes, true},
        {"tri.obj", 32, true}, // exactly the bound
        {"tri.obj", 31, false},
        {"meshes/", kMaxFileBytes, false},    // a folder (a file name forgotten after it)
        {"folder.obj", kMaxFileBytes, false}, // a link to one
        {"pipe.obj", kMaxFileBytes, false},   // no writer: must not wait for one
        {"/dev/zero", kMaxFileBytes, false},  // endless
        {"/dev/null", kMaxFileBytes, false},
        {"huge.obj", kMaxFileBytes, false},
        {"nothere.obj", kMaxFileBytes, false},
        {"tri.obj/x", kMaxFileBytes, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(std::string(r.path) + " within " + std::to_string(r.bound));
        std::vector<uint8_t> bytes;
        EXPECT_EQ(readWholeFile(r.path, bytes, r.bound), r.read);
        EXPECT_EQ(fileReadable(r.path, r.bound), r.read);
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), r.read ? triangle : "");
        if (r.bound != kMaxFileBytes) continue;
        // The mesh loader: read, or unreadable without a word, as a missing file.
        ObjMesh mesh;
        ObjFileResult result = ObjFileResult::Empty;
        EXPECT_EQ(capturedMessages([&] { result = readObjFile(r.path, mesh); }), "");
        EXPECT_EQ(result, r.read ? ObjFileResult::Loaded : ObjFileResult::Unreadable);
        EXPECT_EQ(objFileReadable(r.path), r.read);
    }
    std::filesystem::resize_file("huge.obj", kMaxObjFileBytes + 1); // meshes have a bound of their own
    EXPECT_FALSE(objFileReadable("huge.obj"));
}
