// OBJ meshes of 10 thousand to 1 million triangles: parsing alone (no GL), reading a file as objinfo
// does beside tinyobjloader loading the same file with triangulation, the whole load from a file
// with the upload, and drawing a 1-million-triangle model. The GL cases need a display
// (run under xvfb-run) and report an error without one.
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>
#include <tiny_obj_loader.h>
#include <unistd.h>
#include "effects/Globals.h"
#include "effects/Model.h"
#include "effects/ObjLoader.h"
#include "resources/ObjFile.h"
#include "resources/ObjParse.h"
#include "shell/OffscreenContext.h"

namespace {

// A wavy grid of about `triangles` triangles with positions, texture coordinates and normals per
// grid point and faces in the position/texture/normal form, as exporters write them.
const std::string& gridObj(int64_t triangles)
{
    static std::map<int64_t, std::string> cache;
    auto it = cache.find(triangles);
    if (it != cache.end()) return it->second;
    const int side = static_cast<int>(std::lround(std::sqrt(static_cast<double>(triangles) / 2.0)));
    std::string out;
    out.reserve(static_cast<size_t>(triangles) * 90);
    char line[256];
    out += "# grid\no grid\n";
    for (int y = 0; y <= side; ++y)
        for (int x = 0; x <= side; ++x) {
            const float fx = 2.0f * x / side - 1, fy = 2.0f * y / side - 1;
            std::snprintf(line, sizeof line, "v %.6f %.6f %.6f\n", fx, fy, 0.1 * std::sin(8 * fx) * std::cos(8 * fy));
            out += line;
        }
    for (int y = 0; y <= side; ++y)
        for (int x = 0; x <= side; ++x) {
            std::snprintf(line, sizeof line, "vt %.6f %.6f\n", static_cast<double>(x) / side,
                          static_cast<double>(y) / side);
            out += line;
        }
    for (int y = 0; y <= side; ++y)
        for (int x = 0; x <= side; ++x) out += "vn 0.000000 0.000000 1.000000\n";
    out += "usemtl surface\ns 1\n";
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const int a = y * (side + 1) + x + 1, b = a + 1, c = a + side + 1, d = c + 1;
            std::snprintf(line, sizeof line, "f %d/%d/%d %d/%d/%d %d/%d/%d\nf %d/%d/%d %d/%d/%d %d/%d/%d\n", a, a, a, b,
                          b, b, d, d, d, a, a, a, d, d, d, c, c, c);
            out += line;
        }
    return cache.emplace(triangles, std::move(out)).first->second;
}

std::string writeTemp(const std::string& text)
{
    const std::string path = "/tmp/zemblar-obj-bench-" + std::to_string(::getpid()) + ".obj";
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

GLuint flatProgram()
{
    auto stage = [](GLenum kind, const char* source) {
        const GLuint s = glCreateShader(kind);
        glShaderSource(s, 1, &source, nullptr);
        glCompileShader(s);
        return s;
    };
    const GLuint program = glCreateProgram();
    glAttachShader(
        program,
        stage(GL_VERTEX_SHADER,
              "#version 330 compatibility\nin vec3 in_position; in vec3 in_normal; out vec3 n;\n"
              "void main() { n = in_normal; gl_Position = gl_ModelViewProjectionMatrix * vec4(in_position, 1.0); }\n"));
    glAttachShader(
        program,
        stage(GL_FRAGMENT_SHADER,
              "#version 330\nin vec3 n; out vec4 colour; void main() { colour = vec4(n * 0.5 + 0.5, 1.0); }\n"));
    glLinkProgram(program);
    return program;
}

} // namespace

static void BM_ParseObj(benchmark::State& state)
{
    const std::string& text = gridObj(state.range(0));
    size_t triangles = 0;
    for (auto _ : state) {
        const ObjMesh mesh = parseObj(text.data(), text.size(), "grid.obj");
        triangles = mesh.indices.size() / 3;
        benchmark::DoNotOptimize(mesh.vertices.data());
    }
    state.counters["triangles"] = static_cast<double>(triangles);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ParseObj)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oNLogN);

// The same 1-million-triangle file (about 100 MB) read from the page cache by objinfo's loader
// (file read, parse, corner merge) and by tinyobjloader with triangulation; compare bytes_per_second.
static void BM_ObjFileAsObjinfo(benchmark::State& state)
{
    const std::string& text = gridObj(state.range(0));
    const std::string path = writeTemp(text);
    for (auto _ : state) {
        ObjMesh mesh;
        if (readObjFile(path.c_str(), mesh) != ObjFileResult::Loaded) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(mesh.indices.data());
    }
    std::remove(path.c_str());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ObjFileAsObjinfo)->Arg(1000000)->Unit(benchmark::kMillisecond);

static void BM_ObjFileTinyobjloader(benchmark::State& state)
{
    const std::string& text = gridObj(state.range(0));
    const std::string path = writeTemp(text);
    for (auto _ : state) {
        tinyobj::attrib_t attrib;
        std::vector<tinyobj::shape_t> shapes;
        std::vector<tinyobj::material_t> materials;
        std::string warn, err;
        if (!tinyobj::LoadObj(&attrib, &shapes, &materials, &warn, &err, path.c_str(), nullptr, true))
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(shapes.data());
    }
    std::remove(path.c_str());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ObjFileTinyobjloader)->Arg(1000000)->Unit(benchmark::kMillisecond);

static void BM_LoadObjFileWithUpload(benchmark::State& state)
{
    if (!createOffscreenContext(1280, 720)) {
        state.SkipWithError("no GL context (run under xvfb-run)");
        return;
    }
    const std::string path = writeTemp(gridObj(state.range(0)));
    const GLuint program = flatProgram();
    for (auto _ : state) {
        Model model;
        model.shaderProgram = program;
        if (!loadObj(model, path.c_str())) state.SkipWithError("load failed");
        glFinish();
        state.PauseTiming();
        glDeleteBuffers(1, &model.vbo);
        glDeleteVertexArrays(1, &model.vao);
        state.ResumeTiming();
    }
    std::remove(path.c_str());
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LoadObjFileWithUpload)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

static void BM_DrawMillionTriangles(benchmark::State& state)
{
    if (!createOffscreenContext(1280, 720)) {
        state.SkipWithError("no GL context (run under xvfb-run)");
        return;
    }
    const std::string path = writeTemp(gridObj(1000000));
    Model model;
    model.shaderProgram = flatProgram();
    const bool ok = loadObj(model, path.c_str());
    std::remove(path.c_str());
    if (!ok) {
        state.SkipWithError("load failed");
        return;
    }
    glViewport(0, 0, 1280, 720);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1.2, 1.2, -1.2, 1.2, -2, 2);
    glMatrixMode(GL_MODELVIEW);
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        model.draw();
        glFinish();
    }
    glUseProgram(0);
    g_effects.boundProgram = 0;
    state.counters["triangles"] = static_cast<double>(model.indices.size() / 3);
}
BENCHMARK(BM_DrawMillionTriangles)->Unit(benchmark::kMillisecond)->MinTime(2.0);
