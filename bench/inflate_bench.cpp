// Inflate throughput of the demo's own inflater beside zlib's and libdeflate's on the same streams
// (bytes per second counted on the decompressed size). Arguments: data kind (0 text-like, 1
// image-like) and the zlib level the stream was made with (1, 6, 9); 4 MiB each. Compare the three
// within one run: the machine's load moves all of them.
#include <benchmark/benchmark.h>
#include <libdeflate.h>
#include <zlib.h>

#include <map>
#include <random>
#include <utility>
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
        if (kind == 0) { // text-like
            for (const char* w = words[rng() % 7]; *w && i < size; ++w) data[i++] = uint8_t(*w);
        } else { // image-like: smooth ramps with noise
            data[i] = uint8_t((i / 4) % 256 + rng() % 8);
            ++i;
        }
    }
    return data;
}

struct Sample {
    Bytes data, stream;
};

const Sample& sample(int kind, int level)
{
    static std::map<std::pair<int, int>, Sample> cache;
    Sample& s = cache[{kind, level}];
    if (s.data.empty()) {
        s.data = makeData(kind, 4 << 20);
        s.stream = pngbuild::deflate(s.data, level);
    }
    return s;
}

template <typename Inflate>
void run(benchmark::State& state, Inflate inflate)
{
    const Sample& s = sample(int(state.range(0)), int(state.range(1)));
    Bytes out;
    for (auto _ : state) {
        out.assign(s.data.size(), 0); // pre-sized, as the PNG decoder does
        if (!inflate(s.stream, out) || out != s.data) state.SkipWithError("inflate failed");
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(s.data.size()));
}

void BM_InflateZemblar(benchmark::State& state)
{
    run(state, [](const Bytes& in, Bytes& out) { return zlibDecompress(in, out) == 0; });
}

void BM_InflateZlib(benchmark::State& state)
{
    run(state, [](const Bytes& in, Bytes& out) {
        uLongf size = uLongf(out.size());
        return uncompress(out.data(), &size, in.data(), uLong(in.size())) == Z_OK && size == out.size();
    });
}

void BM_InflateLibdeflate(benchmark::State& state)
{
    libdeflate_decompressor* d = libdeflate_alloc_decompressor();
    run(state, [d](const Bytes& in, Bytes& out) {
        size_t size = 0;
        return libdeflate_zlib_decompress(d, in.data(), in.size(), out.data(), out.size(), &size) ==
                   LIBDEFLATE_SUCCESS &&
               size == out.size();
    });
    libdeflate_free_decompressor(d);
}

} // namespace

BENCHMARK(BM_InflateZemblar)->ArgsProduct({{0, 1}, {1, 6, 9}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InflateZlib)->ArgsProduct({{0, 1}, {1, 6, 9}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InflateLibdeflate)->ArgsProduct({{0, 1}, {1, 6, 9}})->Unit(benchmark::kMillisecond);
