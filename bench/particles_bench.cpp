// Particle systems: the formation step alone (no GL) for 100, 1,000 and 10,000 children in several
// formation and animation modes, and whole frames of a 10,000-child system through a hidden GL
// context (llvmpipe under Xvfb in the project's setup). Frame timings are wall-clock, since the
// GL driver works on threads of its own.
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include "resources/GlMatrix.h"
#include <vector>
#include <unistd.h>
#include "effects/EffectRegistry.h"
#include "effects/Globals.h"
#include "effects/Particles.h"
#include "effects/Random.h"
#include "effects/Sphere.h"
#include "resources/ShaderLibrary.h"
#include "shell/OffscreenContext.h"

namespace {
void local(Demoeffect& e, const std::string& text, float time = 0.0f)
{
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    e.local(time, buffer.data());
}

// A particle system of `count` children (rows of 10) made from `tmpl`, in the given mode.
void buildSystem(Particles& ps, Demoeffect& tmpl, int64_t count, const char* type, const char* anim)
{
    EffectRegistry::findOrAdd("template") = &tmpl;
    local(ps, "x;10");
    local(ps, "y;" + std::to_string(count / 10));
    local(ps, std::string("type;") + type);
    local(ps, std::string("anim;") + anim);
    local(ps, "init;template");
}

void formationBench(benchmark::State& state, const char* type, const char* anim)
{
    Demoeffect tmpl;
    Particles ps;
    reseedRandom();
    buildSystem(ps, tmpl, state.range(0), type, anim);
    g_effects.frameDelta = 0.016;
    for (auto _ : state) {
        g_effects.musicTime += g_effects.frameDelta;
        ps.formationStep();
        benchmark::DoNotOptimize(ps.children.front()->motion.point);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    EffectRegistry::clear();
}

// Shader stages for the program "main" in a scratch directory that is the working directory
// while the GL benchmarks run.
class ScratchShaders {
public:
    ScratchShaders()
    {
        char pattern[] = "/tmp/zemblar_bench_XXXXXX";
        if (!mkdtemp(pattern)) return;
        dir_ = pattern;
        previous_ = std::filesystem::current_path();
        std::filesystem::create_directories(dir_ / "data/shaders");
        std::ofstream(dir_ / "data/shaders/main.vert")
            << "#version 330 compatibility\nin vec3 in_position;\nin vec3 in_normal;\nout vec3 n;\n"
               "void main() { n = gl_NormalMatrix * in_normal;\n"
               "  gl_Position = gl_ModelViewProjectionMatrix * vec4(in_position, 1.0); }\n";
        std::ofstream(dir_ / "data/shaders/main.frag")
            << "#version 330 compatibility\nin vec3 n;\nuniform int state;\nuniform float musictime;\n"
               "out vec4 c;\nvoid main() { c = vec4(normalize(n) * 0.5 + 0.5, 1.0) + 0.0 * musictime * float(state); "
               "}\n";
        std::filesystem::current_path(dir_);
    }
    ~ScratchShaders()
    {
        if (dir_.empty()) return;
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

private:
    std::filesystem::path dir_, previous_;
};

void frameBench(benchmark::State& state, bool spheres)
{
    if (!createOffscreenContext(1280, 720)) {
        state.SkipWithError("no GL context (run under xvfb-run)");
        return;
    }
    ScratchShaders shaders;
    linkShaderProgram("main", "main.vert", "main.frag", "");
    glViewport(0, 0, 1280, 720);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    perspective(45.0, 1280.0 / 720.0, 0.1, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_DEPTH_TEST);

    Sphere sphere;
    Demoeffect group;
    Particles ps;
    reseedRandom();
    buildSystem(ps, spheres ? static_cast<Demoeffect&>(sphere) : group, 10000, "tube", "sine");
    ps.motion.point[2] = -600.0f; // the whole 1000-row tube in view
    g_effects.frameDelta = 0.016;
    for (auto _ : state) {
        g_effects.musicTime += g_effects.frameDelta;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        ps.update();
        ps.draw();
        glUseProgram(0);
        g_effects.boundProgram = 0;
        glFinish();
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    glBindVertexArray(0);
    EffectRegistry::clear();
    clearShaderLibrary();
}
} // namespace

BENCHMARK_CAPTURE(formationBench, town_none, "town", "none")
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(formationBench, town_sine, "town", "sine")
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(formationBench, town_burn, "town", "burn")
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(formationBench, tube_sinepulse, "tube", "sinepulse")
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(formationBench, tube_burn, "tube", "burn")
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(frameBench, groups_10000, false)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK_CAPTURE(frameBench, spheres_10000, true)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
