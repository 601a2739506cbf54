// OBJ parsing without GL: face forms, corner merging, malformed input, long lines, a large generated
// mesh in LF and CRLF, and the loader paths that fail before any upload.
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

TEST(ObjParse, FaceFormsMergeCornersByIndexTriple)
{
    Parsed n = parse(cube(true));
    EXPECT_EQ(n.vertices.size(), 24u);
    ASSERT_EQ(n.indices.size(), 36u);
    EXPECT_EQ(n.skipped, 0);
    // First triangle: positions 1, 4, 3 with normal 1 (0, 0, -1); the second reuses corners 1 and 3.
    EXPECT_EQ(n.indices[3], 0u);
    EXPECT_EQ(n.indices[4], 2u);
    EXPECT_FLOAT_EQ(n.vertices[1].position[1], 1);
    EXPECT_FLOAT_EQ(n.vertices[1].normal[2], -1);

    Parsed plain = parse(cube(false));
    EXPECT_EQ(plain.vertices.size(), 8u);
    EXPECT_EQ(plain.indices.size(), 36u);
    for (const ObjVertex& v : plain.vertices) EXPECT_EQ(v.normal[0] + v.normal[1] + v.normal[2], 0.0f);

    Parsed full = parse(std::string(kTriangle) + "vt 0.25 0.75\nvt 1 0\nvn 0 0 1\nf 1/1/1 2/2/1 3/1/1\n");
    ASSERT_EQ(full.vertices.size(), 3u);
    EXPECT_FLOAT_EQ(full.vertices[0].texcoords[1], 0.75f);
    EXPECT_FLOAT_EQ(full.vertices[1].texcoords[0], 1.0f);
    EXPECT_FLOAT_EQ(full.vertices[2].normal[2], 1.0f);
}

TEST(ObjParse, PolygonsGiveTheirFirstTriangleAndOtherLinesAreSkipped)
{
    Parsed quad = parse("# quad\no thing\ng part\ns 1\nusemtl red\nmtllib a.mtl\nvp 1 2\n\n"
                        "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\n");
    EXPECT_EQ(quad.vertices.size(), 3u);
    EXPECT_EQ(quad.indices, (std::vector<uint32_t>{0, 1, 2}));

    Parsed comments = parse("# only\n# comments\n");
    EXPECT_TRUE(comments.vertices.empty());
    EXPECT_TRUE(comments.indices.empty());
    EXPECT_TRUE(comments.messages.empty());
}

TEST(ObjParse, BadIndicesSkipTheFaceWithFileAndLine)
{
    const std::string head = std::string(kTriangle) + "vn 0 0 1\nvt 0 0\n"; // lines 1..5
    const char* bad[] = {
        "f 0 1 2",                // zero
        "f 1 -1 2",               // negative (relative indices are not supported)
        "f 1 2 4",                // past the positions read so far
        "f 1//2 2//1 3//1",       // past the normals
        "f 1/2/1 2/1/1 3/1/1",    // past the texture coordinates
        "f 1 2",                  // a corner without position
        "f 1/1 2/1 3/1",          // position/texture form without normals: corners lack positions
        "f 1 2 99999999999",      // does not fit an int
        "f ",                     // nothing at all
    };
    for (const char* face : bad) {
        Parsed p = parse(head + face + "\nf 1 2 3\n", "dir/bad.obj");
        SCOPED_TRACE(face);
        EXPECT_EQ(p.skipped, 1);
        EXPECT_EQ(p.messages, "Skipped face with a bad index in dir/bad.obj line 6\n");
        EXPECT_EQ(p.indices.size(), 3u); // the good face after it still counts
    }
    // A face may only use what was read before it.
    Parsed early = parse(std::string("f 1 2 3\n") + kTriangle);
    EXPECT_EQ(early.skipped, 1);
    EXPECT_TRUE(early.vertices.empty());
}

TEST(ObjParse, UnfilledCoordinatesAreZero)
{
    Parsed p = parse("v 1\nv 2 3\nv x 1 1\nvn\nvt 0.5\nf 1/1/1 2/1/1 3/1/1\n");
    ASSERT_EQ(p.vertices.size(), 3u);
    const ObjVertex expected[3] = {{{1, 0, 0}, {0, 0, 0}, {0.5f, 0}},
                                   {{2, 3, 0}, {0, 0, 0}, {0.5f, 0}},
                                   {{0, 0, 0}, {0, 0, 0}, {0.5f, 0}}}; // the scan stops at "x"
    for (int n = 0; n < 3; ++n)
        EXPECT_EQ(std::memcmp(&p.vertices[n], &expected[n], sizeof(ObjVertex)), 0) << n;
}

TEST(ObjParse, LongLinesKeepTheirStartAndNeverSpillIntoANewLine)
{
    // A face hidden past the 255th character of a comment line is not read.
    EXPECT_TRUE(parse(kTriangle + ("#" + std::string(254, 'x') + "f 1 2 3\n")).indices.empty());
    // The start of a long line still counts, and line numbers go on after it.
    const std::string longVertex = "v 0 0 5" + std::string(400, ' ') + "junk\n";
    Parsed b = parse(longVertex + "v 1 0 0\nv 0 1 0\nf 1 2 9\nf 1 2 3\n", "long.obj");
    ASSERT_EQ(b.vertices.size(), 3u);
    EXPECT_FLOAT_EQ(b.vertices[0].position[2], 5);
    EXPECT_EQ(b.messages, "Skipped face with a bad index in long.obj line 4\n");
    // Exactly 255 characters fit; a long last line without a line end ends the parse cleanly.
    const std::string exact = "f 1 2 3" + std::string(248, ' ');
    EXPECT_EQ(parse(kTriangle + exact + "\n").indices.size(), 3u);
    EXPECT_EQ(parse(kTriangle + exact + "     ").indices.size(), 3u);
}

TEST(ObjParse, LargeGeneratedMeshInBothFaceFormsAndLineEnds)
{
    // A 64 x 48 grid of quads, two triangles each; the last rows give no texture coordinates.
    const int w = 64, h = 48;
    std::ostringstream text;
    for (int n = 0; n < w * h; ++n) text << "v " << n % w << " " << n / w << " 0\nvt " << n << " 0\nvn 0 0 1\n";
    for (int y = 0; y + 1 < h; ++y)
        for (int x = 0; x + 1 < w; ++x) {
            const int q[4] = {y * w + x + 1, y * w + x + 2, (y + 1) * w + x + 2, (y + 1) * w + x + 1};
            for (int t : {1, 2}) {
                text << "f";
                for (int c : {q[0], q[t], q[t + 1]}) text << " " << c << (y < h - 3 ? "/" + std::to_string(c) + "/" : "//") << c;
                text << "\n";
            }
        }
    std::string crlf;
    for (char c : text.str()) crlf += c == '\n' ? "\r\n" : std::string(1, c);
    for (const std::string& input : {text.str(), crlf}) {
        Parsed p = parse(input);
        EXPECT_EQ(p.skipped, 0);
        ASSERT_EQ(p.indices.size(), size_t(6 * (w - 1) * (h - 1)));
        // Vertex rows 0..h-3 are used with texture coordinates, rows h-3..h-1 without.
        EXPECT_EQ(p.vertices.size(), size_t((h + 1) * w));
        for (size_t i = 0; i < p.indices.size(); ++i) {
            const ObjVertex& v = p.vertices.at(p.indices[i]);
            const bool textured = (i / 6) / (w - 1) < size_t(h - 3);
            ASSERT_FLOAT_EQ(v.texcoords[0], textured ? v.position[1] * w + v.position[0] : 0.0f) << i;
            ASSERT_FLOAT_EQ(v.normal[2], 1.0f) << i;
        }
    }
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
