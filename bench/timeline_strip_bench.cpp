// The editor's timeline strip: one draw of the whole strip at 1280 x 720 (grid, bar numbers, event
// ticks, sections, loop, cursor and the envelope of a 166 s track) with the shipped script's tempo,
// events and sections, finished with glFinish so the driver's work counts too. Target: at most
// 1 ms a draw (a sixteenth of a 60 fps frame), zoomed in (16 s across) and out (the whole track).
#include <benchmark/benchmark.h>
#include <cmath>
#include <filesystem>
#include <memory>
#include "demo/ProcessState.h"
#include "resources/TextureLibrary.h"
#include "script/Timeline.h"
#include "shell/OffscreenContext.h"
#include "shell/TimelineStrip.h"

namespace {
constexpr double kTrackSeconds = 166.0;
constexpr double kRate = 44100.0;

// A loud, beating noise: the envelope changes from column to column as music does.
WaveEnvelope trackEnvelope()
{
    WaveEnvelope envelope(kRate);
    std::vector<float> block(4096);
    uint32_t seed = 1;
    for (size_t n = 0; n < static_cast<size_t>(kTrackSeconds * kRate); n += block.size()) {
        for (size_t i = 0; i < block.size(); ++i) {
            seed = seed * 1664525u + 1013904223u;
            const double t = static_cast<double>(n + i) / kRate;
            const double beat = std::exp(-8.0 * std::fmod(t, 0.48));
            block[i] = static_cast<float>((static_cast<double>(seed >> 8) / 8388608.0 - 1.0) * (0.3 + 0.7 * beat));
        }
        envelope.add(block.data(), block.size());
    }
    return envelope;
}

void drawStrip(benchmark::State& state)
{
    if (!createOffscreenContext(1280, 720)) {
        state.SkipWithError("no GL context (run under xvfb-run)");
        return;
    }
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(ZEMBLAR_SOURCE_DIR);
    resetProcessState();
    std::unique_ptr<char[]> text;
    int64_t size = 0;
    std::vector<ScriptEvent> events;
    ScriptHeader header;
    if (!loadScriptFile(text, size)) {
        state.SkipWithError("no data/vessikscript.txt");
        return;
    }
    splitScript(text.get(), size, events, &header);
    TimelineStrip strip;
    strip.setScript(stripScriptOf(header, events, kScriptPath));
    strip.zoom(static_cast<int>(state.range(0)));
    const WaveEnvelope envelope = trackEnvelope();
    StripFrame frame;
    frame.cursor = 50.0;
    frame.loop = PlayLoop{46.08, 61.44, true};
    frame.envelope = &envelope;
    strip.showAround(frame.cursor);
    const GLuint font = findTexture("profont.png");
    glViewport(0, 0, 1280, 720);
    for (auto _ : state) {
        {
            const PixelCanvas canvas(font);
            strip.draw(canvas, frame);
        }
        glFinish();
    }
    state.counters["seconds_across"] = strip.view().span;
    std::filesystem::current_path(previous);
}
} // namespace

// Zoom steps from the 16 s default: 0, and -7 (181 s, the whole track).
BENCHMARK(drawStrip)->Arg(0)->Arg(-7)->Unit(benchmark::kMicrosecond);
