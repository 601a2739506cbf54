// OBJ parsing without GL: face forms, corner merging, malformed input, long lines, CRLF, generated
// meshes of realistic shape, and the loader paths that fail before any upload.
#include <gtest/gtest.h>
#include <array>
#include <cmath>
#include <cstring>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>
#include "effects/Model.h"
#include "effects/ObjLoader.h"
#include "effects/ObjParse.h"
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

TEST(ObjParse, CrlfLineEndsGiveTheSameMesh)
{
    const std::string lf = std::string(kCubePositions) + kCubeNormals + "vt 0.5 0.5\n" + cubeFaces(true) +
                           "f 1/1/1 2/1/1 3/1/1\nf 1 2 3\n";
    Parsed a = parse(lf);
    Parsed b = parse(withCrlf(lf));
    ASSERT_EQ(a.vertices.size(), b.vertices.size());
    EXPECT_EQ(a.indices, b.indices);
    EXPECT_EQ(0, std::memcmp(a.vertices.data(), b.vertices.data(), a.vertices.size() * sizeof(ObjVertex)));
    EXPECT_EQ(b.indices.size(), 42u);
    EXPECT_EQ(b.skipped, 0);
}

namespace {
// A torus of `rings` x `sides` quads written the way modelling tools write them: header comments,
// object and group lines, smoothing and material switches, v/vt/vn blocks, faces in the
// position/texture/normal form, and a final block in the position//normal form.
struct Torus {
    std::string text;
    std::vector<std::array<float, 3>> positions, normals;
    std::vector<std::array<float, 2>> texcoords;
    std::vector<std::array<int, 9>> faces; // p, t, n per corner (t = -1 where none)
};

Torus makeTorus(int rings, int sides)
{
    Torus t;
    std::ostringstream out;
    out << "# generated torus\n# " << rings * sides * 2 << " triangles\nmtllib torus.mtl\no Torus\n";
    for (int r = 0; r < rings; ++r)
        for (int s = 0; s < sides; ++s) {
            const double a = 2 * M_PI * r / rings, b = 2 * M_PI * s / sides;
            const float x = static_cast<float>((2 + std::cos(b)) * std::cos(a));
            const float y = static_cast<float>(std::sin(b));
            const float z = static_cast<float>((2 + std::cos(b)) * std::sin(a));
            t.positions.push_back({x, y, z});
            t.normals.push_back({static_cast<float>(std::cos(b) * std::cos(a)), y, static_cast<float>(std::cos(b) * std::sin(a))});
            t.texcoords.push_back({static_cast<float>(r) / rings, static_cast<float>(s) / sides});
        }
    out.precision(9);
    for (auto& p : t.positions) out << "v " << p[0] << " " << p[1] << " " << p[2] << "\n";
    for (auto& c : t.texcoords) out << "vt " << c[0] << " " << c[1] << "\n";
    for (auto& n : t.normals) out << "vn " << n[0] << " " << n[1] << " " << n[2] << "\n";
    out << "g body\nusemtl skin\ns 1\n";
    auto idx = [&](int r, int s) { return (r % rings) * sides + (s % sides) + 1; };
    for (int r = 0; r < rings; ++r) {
        if (r == rings / 2) out << "# second half\ns off\nusemtl shine\n";
        for (int s = 0; s < sides; ++s) {
            const int q[4] = {idx(r, s), idx(r + 1, s), idx(r + 1, s + 1), idx(r, s + 1)};
            const int tris[2][3] = {{q[0], q[1], q[2]}, {q[0], q[2], q[3]}};
            for (const auto& tri : tris) {
                const bool plain = r >= rings - 2; // last rings without texture coordinates
                out << "f";
                std::array<int, 9> f{};
                for (int c = 0; c < 3; ++c) {
                    if (plain) out << " " << tri[c] << "//" << tri[c];
                    else out << " " << tri[c] << "/" << tri[c] << "/" << tri[c];
                    f[3 * c] = tri[c];
                    f[3 * c + 1] = plain ? -1 : tri[c];
                    f[3 * c + 2] = tri[c];
                }
                out << "\n";
                t.faces.push_back(f);
            }
        }
    }
    t.text = out.str();
    return t;
}

void expectMatchesTorus(const Parsed& p, const Torus& t)
{
    ASSERT_EQ(p.indices.size(), 3 * t.faces.size());
    std::set<std::tuple<int, int, int>> distinct;
    for (size_t f = 0; f < t.faces.size(); ++f)
        for (int c = 0; c < 3; ++c) {
            const auto& face = t.faces[f];
            distinct.insert({face[3 * c], face[3 * c + 1], face[3 * c + 2]});
            const ObjVertex& v = p.vertices.at(p.indices[3 * f + c]);
            const auto& pos = t.positions[face[3 * c] - 1];
            const auto& nor = t.normals[face[3 * c + 2] - 1];
            ASSERT_NEAR(v.position[0], pos[0], 1e-6);
            ASSERT_NEAR(v.position[2], pos[2], 1e-6);
            ASSERT_NEAR(v.normal[1], nor[1], 1e-6);
            const float u = face[3 * c + 1] < 0 ? 0.0f : t.texcoords[face[3 * c + 1] - 1][0];
            ASSERT_NEAR(v.texcoords[0], u, 1e-6);
        }
    EXPECT_EQ(p.vertices.size(), distinct.size());
}
} // namespace

TEST(ObjParse, GeneratedTorusInLfAndCrlf)
{
    const Torus t = makeTorus(64, 48); // 6144 triangles
    Parsed lf = parse(t.text);
    EXPECT_EQ(lf.skipped, 0);
    expectMatchesTorus(lf, t);
    Parsed crlf = parse(withCrlf(t.text));
    EXPECT_EQ(crlf.skipped, 0);
    expectMatchesTorus(crlf, t);
    EXPECT_EQ(lf.indices, crlf.indices);
}

TEST(ObjLoader, MissingFileIsSilentAndFacelessFileIsReported)
{
    ScopedWorkDir dir;
    Model model;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(loadObj(model, "data/meshes/none.obj"));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    dir.write("comments.obj", "# nothing\n# here\nv 1 2 3\n");
    testing::internal::CaptureStdout();
    EXPECT_FALSE(loadObj(model, "comments.obj"));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Couldn't load comments.obj");
    EXPECT_EQ(model.loaded, 0);
    EXPECT_EQ(model.vao, 0u);
}

TEST(ObjLoader, LocalWords)
{
    ScopedWorkDir dir;
    Model model;
    char bare[] = "loadobj"; // no ';': the file name reads as empty, which opens nothing
    char other[] = "spin;fast;x";
    testing::internal::CaptureStdout();
    model.local(1.0f, bare);
    model.local(1.0f, other);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "failed local: spin fast");
    EXPECT_EQ(model.loaded, 0);
}
