// Compressing one rendered frame into a PNG at the offline renderer's sizes. The frame is smooth
// gradients with some noise, like a lit scene; a frame must take well under the time one frame
// takes to draw (tens of milliseconds at 1280 x 720 on llvmpipe), and scale with the pixel count.
#include <benchmark/benchmark.h>
#include <cstdint>
#include <vector>
#include "render/FramePng.h"

static void BM_EncodeFramePng(benchmark::State& state)
{
    const auto width = static_cast<uint32_t>(state.range(0)), height = static_cast<uint32_t>(state.range(1));
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    uint32_t noise = 1;
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            noise = noise * 1664525u + 1013904223u;
            uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
            p[0] = static_cast<uint8_t>(x * 255 / width + (noise >> 30));
            p[1] = static_cast<uint8_t>(y * 255 / height);
            p[2] = static_cast<uint8_t>((x + y) / 8);
        }
    std::vector<uint8_t> png;
    for (auto _ : state) {
        encodePng(rgb.data(), width, height, png);
        benchmark::DoNotOptimize(png.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(rgb.size()));
}
BENCHMARK(BM_EncodeFramePng)->Args({1280, 720})->Args({3840, 2160})->Unit(benchmark::kMillisecond);
