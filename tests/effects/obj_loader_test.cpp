// OBJ parsing without GL: face forms, corner merging against the triangles spelt out, malformed
// input, long lines, and files as exporters write them. (The loader's failures are tested with the model under a real context.)
#include <gtest/gtest.h>
#include <algorithm>
#include <array>
#include <cstring>
#include <random>
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

} // namespace

TEST(ObjParse, FaceFormsLineKindsAndLongLines)
{
    const std::string quad = "# quad\no thing\ng part\ns 1\nusemtl red\nmtllib a.mtl\nvp 1 2\nl 1 2\np 1\n\n"
                             "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\n";
    const std::string exact = "f 1 2 3" + std::string(248, ' '); // 255 characters: still read
    // {text, vertices (merged corners), indices, skipped faces}
    const struct {
        std::string text;
        size_t vertices, indices, skipped;
    } rows[] = {
        {quad, 4, 6, 0}, // a polygon becomes a fan; the other line kinds are skipped silently
        {"f 1 2 3\n" + std::string(kTriangle), 0, 0, 1}, // a face may only use what was read before it
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

// Corner merging against triangles spelt out corner by corner: every v, vn and vt line holds its own
// 1-based number, so each drawn corner shows the index triple it was written with. Faces of three
// to five corners in all four forms, absolute and relative, over few positions with many normals
// (past the short list per position, into the hash table and through its growth).
TEST(ObjParse, MergedCornersDrawTheTrianglesAsWrittenOneVertexPerTripleInOrderOfUse)
{
    std::mt19937 random(5);
    const auto pick = [&](int n) { return int(random() % unsigned(n)) + 1; };
    const int kPositions = 5, kNormals = 60, kTexcoords = 7;
    std::string text;
    for (int i = 1; i <= kNormals; ++i) text += "vn " + std::to_string(i) + " 0 0\n";
    for (int i = 1; i <= kPositions; ++i) text += "v " + std::to_string(i) + " 0 0\n";
    for (int i = 1; i <= kTexcoords; ++i) text += "vt " + std::to_string(i) + " 0\n";
    using Triple = std::array<int, 3>; // position, normal, texture; 0: not given
    std::vector<Triple> corners, used; // every corner of the fans drawn; the triples in order of first use
    const auto written = [&](int index, int count) { return std::to_string(random() % 2 ? index : index - count - 1); };
    for (int f = 0; f < 400; ++f) {
        std::vector<Triple> face(size_t(3 + random() % 3));
        text += "f";
        for (Triple& c : face) {
            const int form = int(random() % 4), crowd = f < 200 ? 4 : kNormals; // few normals first, then many
            c = {pick(kPositions), form >= 2 ? pick(crowd) : 0, form % 2 ? pick(kTexcoords) : 0};
            text += " " + written(c[0], kPositions) + (form == 0 ? "" : "/") + (c[2] ? written(c[2], kTexcoords) : "") +
                    (form >= 2 ? "/" + written(c[1], kNormals) : "");
            if (std::find(used.begin(), used.end(), c) == used.end()) used.push_back(c);
        }
        text += "\n";
        for (size_t i = 1; i + 1 < face.size(); ++i) corners.insert(corners.end(), {face[0], face[i], face[i + 1]});
    }
    const ObjMesh mesh = parse(text);
    const auto triple = [](const ObjVertex& v) {
        return Triple{int(v.position[0]), int(v.normal[0]), int(v.texcoords[0])};
    };
    ASSERT_EQ(mesh.indices.size(), corners.size());
    for (size_t i = 0; i < corners.size(); ++i) ASSERT_EQ(triple(mesh.vertices.at(mesh.indices[i])), corners[i]) << i;
    std::vector<Triple> made;
    for (const ObjVertex& v : mesh.vertices) made.push_back(triple(v));
    EXPECT_EQ(made, used);
    EXPECT_GT(used.size(), 8u * kPositions + 64); // past every short list, and the table grew
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
