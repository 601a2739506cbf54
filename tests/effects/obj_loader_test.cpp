// OBJ parsing without GL: face forms, corner merging, malformed input, long lines, and files as
// exporters write them. (The loader's failures are tested with the model under a real context.)
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>
#include "resources/FileBytes.h"
#include "resources/ObjParse.h"

namespace {

ObjMesh parse(const std::string& text, const char* name = "mesh.obj")
{
    return parseObj(text.data(), text.size(), name);
}

std::string readObj(const char* file)
{
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(readWholeFile(std::string(ZEMBLAR_SOURCE_DIR "/tests/data/obj/") + file, bytes)) << file;
    return std::string(bytes.begin(), bytes.end());
}

const char* kTriangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";

// A cube: eight corners and twelve triangles, with one normal per side or in plain position form.
const std::string kCorners = "v -1 -1 -1\nv 1 -1 -1\nv 1 1 -1\nv -1 1 -1\nv -1 -1 1\nv 1 -1 1\nv 1 1 1\nv -1 1 1\n";
const std::string kCubeWithNormals =
    kCorners +
    "vn 0 0 -1\nvn 0 0 1\nvn 0 -1 0\nvn 0 1 0\nvn -1 0 0\nvn 1 0 0\n"
    "f 1//1 4//1 3//1\nf 1//1 3//1 2//1\nf 5//2 6//2 7//2\nf 5//2 7//2 8//2\nf 1//3 2//3 6//3\nf 1//3 6//3 5//3\n"
    "f 4//4 8//4 7//4\nf 4//4 7//4 3//4\nf 1//5 5//5 8//5\nf 1//5 8//5 4//5\nf 2//6 3//6 7//6\nf 2//6 7//6 6//6\n";
const std::string kPlainCube = kCorners + "f 1 4 3\nf 1 3 2\nf 5 6 7\nf 5 7 8\nf 1 2 6\nf 1 6 5\n"
                                          "f 4 8 7\nf 4 7 3\nf 1 5 8\nf 1 8 4\nf 2 3 7\nf 2 7 6\n";

} // namespace

TEST(ObjParse, FaceFormsLineKindsLongLinesAndCornerMerging)
{
    const std::string quad = "# quad\no thing\ng part\ns 1\nusemtl red\nmtllib a.mtl\nvp 1 2\nl 1 2\np 1\n\n"
                             "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\n";
    const std::string exact = "f 1 2 3" + std::string(248, ' '); // 255 characters: still read
    const std::string tex = std::string(kTriangle) + "vt 0 0\nvt 1 1\nvn 0 0 1\n";
    // {text, vertices (merged corners), indices, skipped faces}
    const struct {
        std::string text;
        size_t vertices, indices, skipped;
    } rows[] = {
        {kCubeWithNormals, 24, 36, 0},
        {kPlainCube, 8, 36, 0},
        {quad, 4, 6, 0}, // a polygon becomes a fan; the other line kinds are skipped silently
        {tex + "f 1/1 2/1 3/1\nf 1/2 2/1 3/1\n", 4, 6, 0},      // corners differing only in texture
        {tex + "f -3/-2 -2/2 -1/-1\nf 1/1 2/2 3/2\n", 3, 6, 0}, // relative indices: the same corners
        {tex + "f 1/1/1 2//1 3 -1/-2/-1\n", 4, 6, 0},           // mixed corner forms in one face
        {"f 1 2 3\n" + std::string(kTriangle), 0, 0, 1},        // a face may only use what was read before it
        {kTriangle + ("#" + std::string(254, 'x') + "f 1 2 3\n"), 0, 0, 0}, // past character 255: not read
        {kTriangle + exact + "\n", 3, 3, 0},
        {kTriangle + exact + "     ", 3, 3, 0}, // a long last line without a line end
        // Files as exporters write them; counts checked against an independent reader.
        {readObj("blender_cube.obj"), 24, 36, 0},
        {readObj("suzanne.obj"), 507, 3 * 968, 0},
        {readObj("spot.obj"), 3225, 3 * 5856, 0},
    };
    for (const auto& r : rows) {
        const ObjMesh p = parse(r.text);
        SCOPED_TRACE(r.text.substr(0, 40));
        EXPECT_EQ(p.vertices.size(), r.vertices);
        EXPECT_EQ(p.indices.size(), r.indices);
        EXPECT_EQ(p.messages.size(), r.skipped);
    }

    // The cube's first triangle uses positions 1, 4, 3 with normal 1; the second reuses 1 and 3.
    const ObjMesh cubeMesh = parse(kCubeWithNormals);
    EXPECT_EQ(std::vector<uint32_t>(cubeMesh.indices.begin(), cubeMesh.indices.begin() + 6),
              (std::vector<uint32_t>{0, 1, 2, 0, 2, 3}));
    // Scans that stop early, and corners without normal or texture index, give zeros.
    const ObjMesh p = parse("v 1\nv 2 3\nv x 1 1\nvt 0.25 0.75\nvt 0.5\nvn 0 0 -1\nvn\n"
                            "f 1/1/1 2/2/2 3/1/1\nf 1 2 3\n");
    const ObjVertex expected[] = {{{1, 0, 0}, {0, 0, -1}, {0.25f, 0.75f}}, {{2, 3, 0}, {0, 0, 0}, {0.5f, 0}},
                                  {{0, 0, 0}, {0, 0, -1}, {0.25f, 0.75f}}, // the scan stops at "x"
                                  {{1, 0, 0}, {0, 0, 0}, {0, 0}},          {{2, 3, 0}, {0, 0, 0}, {0, 0}},
                                  {{0, 0, 0}, {0, 0, 0}, {0, 0}}};
    ASSERT_EQ(p.vertices.size(), 6u);
    for (int n = 0; n < 6; ++n) EXPECT_EQ(std::memcmp(&p.vertices[n], &expected[n], sizeof(ObjVertex)), 0) << n;
}

TEST(ObjParse, BadIndicesSkipTheFaceWithFileAndLine)
{
    const std::string head = std::string(kTriangle) + "vn 0 0 1\nvt 0 0\n"; // lines 1..5
    const char* bad[] = {
        "f 0 1 2",
        "f 1 2 4", // zero; past the positions read so far
        "f 1//2 2//1 3//1",
        "f 1/2/1 2/1/1 3/1/1", // past the normals; past the texture coordinates
        "f 1 2",
        "f 1 2 99999999999", // too few corners; too large for an int
        "f 1//-2 2//1 3//1",
        "f 1/-2/1 2/1/1 3/1/1",
        "f -4 1 2", // relative, before the first
        "f 1 2 3 x",
        "f 1/ 2 3",
        "f 1/1/1/1 2 3",
        "f 1/1/ 2 3",
        "f +-1 2 3", // not a corner
    };
    for (const char* face : bad) {
        const ObjMesh p = parse(head + face + "\nf 1 2 3\n", "dir/bad.obj");
        SCOPED_TRACE(face);
        EXPECT_EQ(p.messages, std::vector<std::string>{"Skipped face with a bad index in dir/bad.obj line 6"});
        EXPECT_EQ(p.indices.size(), 3u); // the good face after it still counts
    }
    // The start of a long line still counts, and line numbers go on after it.
    const std::string longVertex = "v 0 0 5" + std::string(400, ' ') + "junk\n";
    const ObjMesh p = parse(longVertex + "v 1 0 0\nv 0 1 0\nf 1 2 9\nf 1 2 3\n", "long.obj");
    EXPECT_FLOAT_EQ(p.vertices.at(0).position[2], 5);
    EXPECT_EQ(p.messages, std::vector<std::string>{"Skipped face with a bad index in long.obj line 4"});
}
