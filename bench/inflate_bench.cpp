// Inflate throughput of the demo's own inflater beside zlib's on the same
// streams (bytes per second counted on the decompressed size).
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <random>
#include <vector>

#include "resources/Zlib.h"
#include "support/PngBuilder.h"

namespace {

using pngbuild::Bytes;

Bytes makeData(int kind, size_t size)
{
    std::mt19937 rng(42);
    Bytes data(size);
    const char* words[] = {"zemblar ", "sphere ", "texture ", "particles ", "camera ", "0.125 ", "\n"};
    size_t i = 0;
    while (i < size) {
        if (kind == 0) {  // text-like
            for (const char* w = words[rng() % 7]; *w && i < size; ++w) data[i++] = uint8_t(*w);
        } else {  // image-like: smooth ramps with noise
            data[i] = uint8_t((i / 4) % 256 + rng() % 8);
            ++i;
        }
    }
    return data;
}

void BM_InflateZemblar(benchmark::State& state)
{
    const Bytes data = makeData(int(state.range(0)), 4 << 20);
    const Bytes stream = pngbuild::deflate(data);
    Bytes out;
    for (auto _ : state) {
        out.assign(data.size(), 0);  // pre-sized, as the PNG decoder does
        if (zlibDecompress(stream, out) != 0 || out.size() != data.size()) state.SkipWithError("inflate failed");
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(data.size()));
}

void BM_InflateZlib(benchmark::State& state)
{
    const Bytes data = makeData(int(state.range(0)), 4 << 20);
    const Bytes stream = pngbuild::deflate(data);
    Bytes out;
    for (auto _ : state) {
        out.assign(data.size(), 0);
        uLongf size = uLongf(out.size());
        if (uncompress(out.data(), &size, stream.data(), uLong(stream.size())) != Z_OK) state.SkipWithError("zlib failed");
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(data.size()));
}

}  // namespace

// Argument 0: text-like data, 1: image-like data; 4 MiB each.
BENCHMARK(BM_InflateZemblar)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InflateZlib)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
