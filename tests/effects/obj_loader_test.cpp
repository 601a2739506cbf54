// OBJ parsing without GL: face forms, corner merging, malformed input, long lines, CRLF line ends,
// and the loader paths that fail before any upload.
#include <gtest/gtest.h>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>
#include "effects/Model.h"
#include "effects/ObjLoader.h"
#include "effects/ObjParse.h"
#include "RunLocal.h"
#include "support/CaptureStdout.h"
#include "support/TempDir.h"

namespace {

struct Parsed {
    std::vector<ObjVertex> vertices;
    std::vector<uint32_t> indices;
    int skipped = 0;
    std::string messages;
};

Parsed parse(const std::string& text, const char* name = "mesh.obj")
{
    Parsed p;
    std::istringstream in(text);
    p.messages = capturedStdout([&] { p.skipped = parseObj(in, name, p.vertices, p.indices); });
    return p;
}

const char* kTriangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";

// The twelve triangles of a cube, with one normal per side or in plain position form.
std::string cube(bool withNormals)
{
    std::string out = "v -1 -1 -1\nv 1 -1 -1\nv 1 1 -1\nv -1 1 -1\nv -1 -1 1\nv 1 -1 1\nv 1 1 1\nv -1 1 1\n";
    if (withNormals) out += "vn 0 0 -1\nvn 0 0 1\nvn 0 -1 0\nvn 0 1 0\nvn -1 0 0\nvn 1 0 0\n";
    const int sides[6][4] = {{1, 4, 3, 2}, {5, 6, 7, 8}, {1, 2, 6, 5}, {4, 8, 7, 3}, {1, 5, 8, 4}, {2, 3, 7, 6}};
    for (int s = 0; s < 6; ++s)
        for (int t : {1, 2}) {
            out += "f";
            for (int c : {sides[s][0], sides[s][t], sides[s][t + 1]})
                out += " " + std::to_string(c) + (withNormals ? "//" + std::to_string(s + 1) : "");
            out += "\n";
        }
    return out;
}

} // namespace

TEST(ObjParse, FaceFormsLineKindsAndLongLines)
{
    const std::string quad = "# quad\no thing\ng part\ns 1\nusemtl red\nmtllib a.mtl\nvp 1 2\n\n"
                             "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\n";
    const std::string exact = "f 1 2 3" + std::string(248, ' '); // 255 characters: still read
    std::string crlf; // Windows line ends read the same
    for (char c : cube(true)) crlf += c == '\n' ? "\r\n" : std::string(1, c);
    // {text, vertices (merged corners), indices, skipped faces}
    const struct { std::string text; size_t vertices, indices; int skipped; } rows[] = {
        {cube(true), 24, 36, 0}, {cube(false), 8, 36, 0}, {crlf, 24, 36, 0},
        {quad, 3, 3, 0},  // a polygon gives its first triangle; the other line kinds are skipped
        {"f 1 2 3\n" + std::string(kTriangle), 0, 0, 1},  // a face may only use what was read before it
        {kTriangle + ("#" + std::string(254, 'x') + "f 1 2 3\n"), 0, 0, 0},  // past character 255: not read
        {kTriangle + exact + "\n", 3, 3, 0},
        {kTriangle + exact + "     ", 3, 3, 0},  // a long last line without a line end
    };
    for (const auto& r : rows) {
        const Parsed p = parse(r.text);
        SCOPED_TRACE(r.text.substr(0, 40));
        EXPECT_EQ(p.vertices.size(), r.vertices);
        EXPECT_EQ(p.indices.size(), r.indices);
        EXPECT_EQ(p.skipped, r.skipped);
        EXPECT_EQ(p.messages.empty(), r.skipped == 0);
    }
}

TEST(ObjParse, CornersMergeByIndexTripleAndUnfilledCoordinatesAreZero)
{
    // The cube's first triangle uses positions 1, 4, 3 with normal 1; the second reuses 1 and 3.
    const Parsed cubeMesh = parse(cube(true));
    EXPECT_EQ(std::vector<uint32_t>(cubeMesh.indices.begin(), cubeMesh.indices.begin() + 6),
              (std::vector<uint32_t>{0, 1, 2, 0, 2, 3}));
    // Scans that stop early, and corners without normal or texture index, give zeros.
    const Parsed p = parse("v 1\nv 2 3\nv x 1 1\nvt 0.25 0.75\nvt 0.5\nvn 0 0 -1\nvn\n"
                           "f 1/1/1 2/2/2 3/1/1\nf 1 2 3\n");
    const ObjVertex expected[] = {
        {{1, 0, 0}, {0, 0, -1}, {0.25f, 0.75f}}, {{2, 3, 0}, {0, 0, 0}, {0.5f, 0}},
        {{0, 0, 0}, {0, 0, -1}, {0.25f, 0.75f}},  // the scan stops at "x"
        {{1, 0, 0}, {0, 0, 0}, {0, 0}}, {{2, 3, 0}, {0, 0, 0}, {0, 0}}, {{0, 0, 0}, {0, 0, 0}, {0, 0}}};
    ASSERT_EQ(p.vertices.size(), 6u);
    for (int n = 0; n < 6; ++n) EXPECT_EQ(std::memcmp(&p.vertices[n], &expected[n], sizeof(ObjVertex)), 0) << n;
}

TEST(ObjParse, BadIndicesSkipTheFaceWithFileAndLine)
{
    const std::string head = std::string(kTriangle) + "vn 0 0 1\nvt 0 0\n"; // lines 1..5
    const char* bad[] = {
        "f 0 1 2",                // zero
        "f 1 2 4",                // past the positions read so far
        "f 1//2 2//1 3//1",       // past the normals
        "f 1/2/1 2/1/1 3/1/1",    // past the texture coordinates
        "f 1 2",                  // a corner without position
        "f 1/1 2/1 3/1",          // position/texture form without normals: corners lack positions
        "f 1 2 99999999999",      // does not fit an int
    };
    for (const char* face : bad) {
        Parsed p = parse(head + face + "\nf 1 2 3\n", "dir/bad.obj");
        SCOPED_TRACE(face);
        EXPECT_EQ(p.skipped, 1);
        EXPECT_EQ(p.messages, "Skipped face with a bad index in dir/bad.obj line 6\n");
        EXPECT_EQ(p.indices.size(), 3u); // the good face after it still counts
    }
    // The start of a long line still counts, and line numbers go on after it.
    const std::string longVertex = "v 0 0 5" + std::string(400, ' ') + "junk\n";
    const Parsed p = parse(longVertex + "v 1 0 0\nv 0 1 0\nf 1 2 9\nf 1 2 3\n", "long.obj");
    EXPECT_FLOAT_EQ(p.vertices.at(0).position[2], 5);
    EXPECT_EQ(p.messages, "Skipped face with a bad index in long.obj line 4\n");
}

TEST(ObjLoader, FailuresBeforeAnyUpload)
{
    ScopedWorkDir dir;
    Model model;
    // A missing file is silent; a file without faces is reported; unknown words fail; "loadobj"
    // without ';' reads the file name as empty, which opens nothing.
    EXPECT_EQ(capturedStdout([&] { EXPECT_FALSE(loadObj(model, "data/meshes/none.obj")); }), "");
    dir.write("comments.obj", "# nothing\n# here\nv 1 2 3\n");
    EXPECT_EQ(capturedStdout([&] { EXPECT_FALSE(loadObj(model, "comments.obj")); }), "Couldn't load comments.obj");
    EXPECT_EQ(capturedStdout([&] { runLocal(model, "loadobj spin;fast;x"); }), "failed local: spin fast");
    EXPECT_EQ(model.loaded, 0);
    EXPECT_EQ(model.vao, 0u);
}
