// OBJ parsing without GL: face forms, corner merging, malformed input, long lines, a large generated
// mesh in LF and CRLF, and the loader paths that fail before any upload.
#include <gtest/gtest.h>
#include <cstring>
#include <set>
#include <sstream>
#include <string>
#include <vector>
#include "effects/Model.h"
#include "effects/ObjLoader.h"
#include "effects/ObjParse.h"
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
    std::FILE* log = std::tmpfile();
    p.skipped = parseObj(in, name, p.vertices, p.indices, log);
    std::rewind(log);
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, log)) p.messages += buffer;
    std::fclose(log);
    return p;
}

const char* kCubePositions =
    "v -1 -1 -1\nv 1 -1 -1\nv 1 1 -1\nv -1 1 -1\nv -1 -1 1\nv 1 -1 1\nv 1 1 1\nv -1 1 1\n";
const char* kCubeNormals = "vn 0 0 -1\nvn 0 0 1\nvn 0 -1 0\nvn 0 1 0\nvn -1 0 0\nvn 1 0 0\n";

// Twelve triangles of a cube, as position index quadruples per side with the side's normal.
std::string cubeFaces(bool withNormals)
{
    const int sides[6][4] = {{1, 4, 3, 2}, {5, 6, 7, 8}, {1, 2, 6, 5}, {4, 8, 7, 3}, {1, 5, 8, 4}, {2, 3, 7, 6}};
    std::string out;
    for (int s = 0; s < 6; ++s) {
        const int tri[2][3] = {{sides[s][0], sides[s][1], sides[s][2]}, {sides[s][0], sides[s][2], sides[s][3]}};
        for (const auto& t : tri) {
            out += "f";
            for (int c : t) out += withNormals ? " " + std::to_string(c) + "//" + std::to_string(s + 1) : " " + std::to_string(c);
            out += "\n";
        }
    }
    return out;
}

std::string withCrlf(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

} // namespace

TEST(ObjParse, CubeFormsMergeCornersByIndexTriple)
{
    Parsed n = parse(std::string(kCubePositions) + kCubeNormals + cubeFaces(true));
    EXPECT_EQ(n.vertices.size(), 24u);
    ASSERT_EQ(n.indices.size(), 36u);
    EXPECT_EQ(n.skipped, 0);
    // First triangle: positions 1, 4, 3 with normal 1 (0, 0, -1); the second reuses corners 1 and 3.
    EXPECT_EQ(n.indices[0], 0u);
    EXPECT_EQ(n.indices[3], 0u);
    EXPECT_EQ(n.indices[4], 2u);
    const ObjVertex& v = n.vertices[1];
    EXPECT_FLOAT_EQ(v.position[0], -1);
    EXPECT_FLOAT_EQ(v.position[1], 1);
    EXPECT_FLOAT_EQ(v.normal[2], -1);
    EXPECT_FLOAT_EQ(v.texcoords[0], 0);

    Parsed plain = parse(std::string(kCubePositions) + cubeFaces(false));
    EXPECT_EQ(plain.vertices.size(), 8u);
    EXPECT_EQ(plain.indices.size(), 36u);
    for (const ObjVertex& pv : plain.vertices) EXPECT_EQ(pv.normal[0] + pv.normal[1] + pv.normal[2], 0.0f);

    Parsed full = parse("v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0.25 0.75\nvt 1 0\nvn 0 0 1\nf 1/1/1 2/2/1 3/1/1\n");
    ASSERT_EQ(full.vertices.size(), 3u);
    EXPECT_FLOAT_EQ(full.vertices[0].texcoords[0], 0.25f);
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
    const std::string head = "v 0 0 0\nv 1 0 0\nv 0 1 0\nvn 0 0 1\nvt 0 0\n"; // lines 1..5
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
    Parsed early = parse("f 1 2 3\nv 0 0 0\nv 1 0 0\nv 0 1 0\n");
    EXPECT_EQ(early.skipped, 1);
    EXPECT_TRUE(early.vertices.empty());
}

TEST(ObjParse, UnfilledCoordinatesAreZero)
{
    Parsed p = parse("v 1\nv 2 3\nv x 1 1\nvn\nvt 0.5\nf 1/1/1 2/1/1 3/1/1\n");
    ASSERT_EQ(p.vertices.size(), 3u);
    EXPECT_FLOAT_EQ(p.vertices[0].position[0], 1);
    EXPECT_FLOAT_EQ(p.vertices[0].position[1], 0);
    EXPECT_FLOAT_EQ(p.vertices[1].position[1], 3);
    EXPECT_FLOAT_EQ(p.vertices[1].position[2], 0);
    EXPECT_FLOAT_EQ(p.vertices[2].position[1], 0); // the scan stops at "x"
    EXPECT_FLOAT_EQ(p.vertices[0].normal[2], 0);
    EXPECT_FLOAT_EQ(p.vertices[0].texcoords[0], 0.5f);
    EXPECT_FLOAT_EQ(p.vertices[0].texcoords[1], 0);
}

TEST(ObjParse, LongLinesKeepTheirStartAndNeverSpillIntoANewLine)
{
    const std::string tri = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";
    // A face hidden past the 255th character of a comment line is not read.
    const std::string hidden = "#" + std::string(254, 'x') + "f 1 2 3\n";
    Parsed a = parse(tri + hidden);
    EXPECT_TRUE(a.indices.empty());
    // The start of a long line still counts, and line numbers go on after it.
    const std::string longVertex = "v 0 0 5" + std::string(400, ' ') + "junk\n";
    Parsed b = parse(longVertex + "v 1 0 0\nv 0 1 0\nf 1 2 9\nf 1 2 3\n", "long.obj");
    ASSERT_EQ(b.vertices.size(), 3u);
    EXPECT_FLOAT_EQ(b.vertices[0].position[2], 5);
    EXPECT_EQ(b.messages, "Skipped face with a bad index in long.obj line 4\n");
    // Exactly 255 characters fit; a long last line without a line end ends the parse cleanly.
    const std::string exact = "f 1 2 3" + std::string(248, ' ');
    ASSERT_EQ(exact.size(), 255u);
    EXPECT_EQ(parse(tri + exact + "\n").indices.size(), 3u);
    EXPECT_EQ(parse(tri + exact + "     ").indices.size(), 3u);
}

TEST(ObjParse, LargeGeneratedMeshInBothFaceForms)
{
    // A 64 x 48 grid of quads, two triangles each; the last rows give no texture coordinates.
    const int w = 64, h = 48;
    std::ostringstream text;
    for (int n = 0; n < w * h; ++n) text << "v " << n % w << " " << n / w << " 0\nvt " << n << " 0\nvn 0 0 1\n";
    for (int y = 0; y + 1 < h; ++y)
        for (int x = 0; x + 1 < w; ++x) {
            const int q[4] = {y * w + x + 1, y * w + x + 2, (y + 1) * w + x + 2, (y + 1) * w + x + 1};
            const int tris[2][3] = {{q[0], q[1], q[2]}, {q[0], q[2], q[3]}};
            for (const auto& t : tris) {
                text << "f";
                for (int c : t) text << " " << c << (y < h - 3 ? "/" + std::to_string(c) + "/" : "//") << c;
                text << "\n";
            }
        }
    for (const std::string& input : {text.str(), withCrlf(text.str())}) {
        Parsed p = parse(input);
        EXPECT_EQ(p.skipped, 0);
        ASSERT_EQ(p.indices.size(), size_t(6 * (w - 1) * (h - 1)));
        std::set<std::pair<int, bool>> distinct;  // position, has texture coordinates
        for (size_t i = 0; i < p.indices.size(); ++i) {
            const ObjVertex& v = p.vertices.at(p.indices[i]);
            const int n = int(v.position[1]) * w + int(v.position[0]);
            const bool textured = (i / 6) / (w - 1) < size_t(h - 3);
            distinct.insert({n, textured});
            ASSERT_FLOAT_EQ(v.texcoords[0], textured ? float(n) : 0.0f) << i;
            ASSERT_FLOAT_EQ(v.normal[2], 1.0f) << i;
        }
        EXPECT_EQ(p.vertices.size(), distinct.size());
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
    char bare[] = "loadobj";
    char other[] = "spin;fast;x";
    EXPECT_EQ(capturedStdout([&] { model.local(1.0f, bare); model.local(1.0f, other); }), "failed local: spin fast");
    EXPECT_EQ(model.loaded, 0);
    EXPECT_EQ(model.vao, 0u);
}
