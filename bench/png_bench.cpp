// PNG decode time of a 1024x1024 RGBA image and a 2048x2048 Adam7-interlaced
// one, both made here (filters cycling through all five types, zlib level 6).
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "resources/Png.h"
#include "resources/PngUnfilter.h"
#include "support/PngBuilder.h"

namespace {

using pngbuild::Bytes;

Bytes picture(uint32_t w, uint32_t h)
{
    std::mt19937 rng(7);
    Bytes px(size_t(w) * h * 4);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            uint8_t* p = &px[(size_t(y) * w + x) * 4];
            p[0] = uint8_t(x + (rng() & 3));
            p[1] = uint8_t(y + (rng() & 3));
            p[2] = uint8_t((x ^ y) >> 2);
            p[3] = uint8_t(255 - (rng() & 15));
        }
    return px;
}

// Appends rows of `rowBytes` from `rows`, filtered with type y % 5.
void filterRows(Bytes& out, const Bytes& rows, size_t rowBytes, uint32_t count)
{
    for (uint32_t y = 0; y < count; ++y) {
        const uint8_t type = uint8_t(y % 5);
        out.push_back(type);
        const uint8_t* cur = &rows[y * rowBytes];
        const uint8_t* prev = y ? &rows[(y - 1) * rowBytes] : nullptr;
        for (size_t i = 0; i < rowBytes; ++i) {
            const int a = i >= 4 ? cur[i - 4] : 0, b = prev ? prev[i] : 0, c = (prev && i >= 4) ? prev[i - 4] : 0;
            const int pred = type == 1 ? a : type == 2 ? b : type == 3 ? (a + b) / 2 : type == 4 ? paethPredictor(a, b, c) : 0;
            out.push_back(uint8_t(cur[i] - pred));
        }
    }
}

Bytes encode(uint32_t w, uint32_t h, bool interlaced)
{
    const Bytes px = picture(w, h);
    Bytes filtered;
    if (!interlaced) {
        filterRows(filtered, px, size_t(w) * 4, h);
    } else {
        const uint32_t start[7][2] = {{0, 0}, {4, 0}, {0, 4}, {2, 0}, {0, 2}, {1, 0}, {0, 1}};
        const uint32_t step[7][2] = {{8, 8}, {8, 8}, {4, 8}, {4, 4}, {2, 4}, {2, 2}, {1, 2}};
        for (int p = 0; p < 7; ++p) {
            Bytes rows;
            uint32_t pw = 0, ph = 0;
            for (uint32_t y = start[p][1]; y < h; y += step[p][1], ++ph) {
                pw = 0;
                for (uint32_t x = start[p][0]; x < w; x += step[p][0], ++pw)
                    rows.insert(rows.end(), &px[(size_t(y) * w + x) * 4], &px[(size_t(y) * w + x) * 4] + 4);
            }
            if (pw) filterRows(filtered, rows, size_t(pw) * 4, ph);
        }
    }
    return pngbuild::makePng(w, h, 8, 6, filtered, {}, uint8_t(interlaced));
}

void BM_DecodePng(benchmark::State& state)
{
    const uint32_t size = uint32_t(state.range(0));
    const Bytes file = encode(size, size, state.range(1) != 0);
    for (auto _ : state) {
        Bytes pixels;
        uint32_t w = 0, h = 0;
        if (decodePng(file.data(), file.size(), pixels, w, h) != 0) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(pixels.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * size * size * 4);
}

}  // namespace

// Arguments: side length, interlaced.
BENCHMARK(BM_DecodePng)->Args({1024, 0})->Args({2048, 1})->Unit(benchmark::kMillisecond);
