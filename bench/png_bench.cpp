// PNG decoding beside the libraries people know, in one run, on 2048x2048
// images made here and encoded with zlib at level 6:
//   photo_rgb, photo_rgba   smooth fields with fine noise, each row filtered as
//                           common encoders do (the filter with the smallest sum
//                           of absolute residuals), so Paeth, Up and Avg mix;
//   synth_rgb, synth_rgba   ramps and a xor pattern, filters cycling through all five.
// PngDecode/IMAGE/ours|libspng|libpng: decode to RGBA8 in memory (libpng through
// its simplified API, as image libraries built on libpng and zlib do).
// PngStage/IMAGE/inflate|rows: our inflater alone, then our unfiltering and
// conversion alone, so the share of each stage shows.
// PngProcess/IMAGE/png2rgba|spng2rgba: whole processes reading the file and
// writing the same RGBA output (their CPU time; wall time as a counter). Plus the older cases: a 1024x1024 RGBA image
// and a 2048x2048 Adam7 one.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <png.h>
#include <spawn.h>
#include <spng.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <zlib.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "resources/Png.h"
#include "resources/PngChunks.h"
#include "resources/PngConvert.h"
#include "resources/PngUnfilter.h"
#include "resources/Zlib.h"
#include "support/PngBuilder.h"

extern char** environ;

namespace {

using pngbuild::Bytes;

// Pixels of `channels` bytes (3 or 4).
Bytes synthetic(uint32_t w, uint32_t h, uint32_t channels)
{
    std::mt19937 rng(7);
    Bytes px(size_t(w) * h * channels);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            uint8_t* p = &px[(size_t(y) * w + x) * channels];
            p[0] = uint8_t(x + (rng() & 3));
            p[1] = uint8_t(y + (rng() & 3));
            p[2] = uint8_t((x ^ y) >> 2);
            if (channels == 4) p[3] = uint8_t(255 - (rng() & 15));
        }
    return px;
}

Bytes photo(uint32_t w, uint32_t h, uint32_t channels)
{
    std::mt19937 rng(11);
    Bytes px(size_t(w) * h * channels);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x)
            for (uint32_t c = 0; c < channels; ++c) {
                const double v = 128 + 70 * std::sin(x * (0.004 + 0.001 * c) + c) * std::cos(y * 0.003) +
                                 40 * std::sin((x + 2.0 * y) * 0.011 + 2.0 * c) + 10 * std::sin(x * 0.05 * (c + 1)) +
                                 int(rng() % 9) - 4;
                px[(size_t(y) * w + x) * channels + c] = uint8_t(v < 0 ? 0 : v > 255 ? 255 : v);
            }
    return px;
}

int predict(int type, int a, int b, int c)
{
    switch (type) {
    case 1: return a;
    case 2: return b;
    case 3: return (a + b) / 2;
    case 4: return paethPredictor(a, b, c);
    default: return 0;
    }
}

// Filters every row with type y % 5 (cycle) or with the type of the smallest
// sum of absolute residuals.
Bytes filterRows(const Bytes& rows, size_t rowBytes, uint32_t count, size_t bw, bool cycle)
{
    Bytes out, residual(rowBytes);
    for (uint32_t y = 0; y < count; ++y) {
        const uint8_t* cur = &rows[y * rowBytes];
        const uint8_t* prev = y ? &rows[(y - 1) * rowBytes] : nullptr;
        int best = 0;
        uint64_t bestSum = ~uint64_t(0);
        for (int type = 0; type < 5; ++type) {
            if (cycle && type != int(y % 5)) continue;
            uint64_t sum = 0;
            for (size_t i = 0; i < rowBytes; ++i) {
                const int a = i >= bw ? cur[i - bw] : 0, b = prev ? prev[i] : 0,
                          c = (prev && i >= bw) ? prev[i - bw] : 0;
                sum += std::abs(int8_t(uint8_t(cur[i] - predict(type, a, b, c))));
            }
            if (sum < bestSum) bestSum = sum, best = type;
        }
        out.push_back(uint8_t(best));
        for (size_t i = 0; i < rowBytes; ++i) {
            const int a = i >= bw ? cur[i - bw] : 0, b = prev ? prev[i] : 0, c = (prev && i >= bw) ? prev[i - bw] : 0;
            out.push_back(uint8_t(cur[i] - predict(best, a, b, c)));
        }
    }
    return out;
}

Bytes encode(const Bytes& px, uint32_t w, uint32_t h, uint32_t channels, bool cycle, bool interlaced)
{
    Bytes filtered;
    if (!interlaced) {
        filtered = filterRows(px, size_t(w) * channels, h, channels, cycle);
    } else {
        const uint32_t start[7][2] = {{0, 0}, {4, 0}, {0, 4}, {2, 0}, {0, 2}, {1, 0}, {0, 1}};
        const uint32_t step[7][2] = {{8, 8}, {8, 8}, {4, 8}, {4, 4}, {2, 4}, {2, 2}, {1, 2}};
        for (int p = 0; p < 7; ++p) {
            Bytes rows;
            uint32_t pw = 0, ph = 0;
            for (uint32_t y = start[p][1]; y < h; y += step[p][1], ++ph) {
                pw = 0;
                for (uint32_t x = start[p][0]; x < w; x += step[p][0], ++pw) {
                    const uint8_t* q = &px[(size_t(y) * w + x) * channels];
                    rows.insert(rows.end(), q, q + channels);
                }
            }
            if (pw) {
                const Bytes pass = filterRows(rows, size_t(pw) * channels, ph, channels, cycle);
                filtered.insert(filtered.end(), pass.begin(), pass.end());
            }
        }
    }
    return pngbuild::makePng(w, h, 8, uint8_t(channels == 4 ? 6 : 2), filtered, {}, uint8_t(interlaced));
}

const char* const kImageNames[4] = {"photo_rgb", "photo_rgba", "synth_rgb", "synth_rgba"};

// The file of image `index`, made on first use.
const Bytes& imageFile(size_t index)
{
    static Bytes files[4];
    if (files[index].empty()) {
        const uint32_t n = 2048, channels = index % 2 ? 4 : 3;
        const bool isPhoto = index < 2;
        files[index] =
            encode(isPhoto ? photo(n, n, channels) : synthetic(n, n, channels), n, n, channels, !isPhoto, false);
    }
    return files[index];
}

void setBytes(benchmark::State& state, size_t pixels)
{
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(pixels));
}

void decodeOurs(benchmark::State& state, const Bytes& file)
{
    size_t size = 0;
    for (auto _ : state) {
        Bytes pixels;
        uint32_t w = 0, h = 0;
        if (decodePng(file.data(), file.size(), pixels, w, h) != 0) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(pixels.data());
        size = pixels.size();
    }
    setBytes(state, size);
}

void decodeSpng(benchmark::State& state, const Bytes& file)
{
    size_t size = 0;
    for (auto _ : state) {
        spng_ctx* ctx = spng_ctx_new(0);
        spng_set_png_buffer(ctx, file.data(), file.size());
        spng_decoded_image_size(ctx, SPNG_FMT_RGBA8, &size);
        Bytes pixels(size);
        if (spng_decode_image(ctx, pixels.data(), size, SPNG_FMT_RGBA8, SPNG_DECODE_TRNS) != 0)
            state.SkipWithError("libspng failed");
        benchmark::DoNotOptimize(pixels.data());
        spng_ctx_free(ctx);
    }
    setBytes(state, size);
}

void decodeLibpng(benchmark::State& state, const Bytes& file)
{
    size_t size = 0;
    for (auto _ : state) {
        png_image image;
        std::memset(&image, 0, sizeof image);
        image.version = PNG_IMAGE_VERSION;
        png_image_begin_read_from_memory(&image, file.data(), file.size());
        image.format = PNG_FORMAT_RGBA;
        size = PNG_IMAGE_SIZE(image);
        Bytes pixels(size);
        if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) state.SkipWithError("libpng failed");
        benchmark::DoNotOptimize(pixels.data());
    }
    setBytes(state, size);
}

// The IDAT data of a file made above (one IDAT chunk) and its header.
void splitFile(const Bytes& file, PngInfo& info, Bytes& idat)
{
    readPngHeader(file.data(), file.size(), info);
    readPngChunks(file.data(), file.size(), info, idat);
}

void stageInflate(benchmark::State& state, const Bytes& file)
{
    PngInfo info;
    Bytes idat, filtered;
    splitFile(file, info, idat);
    for (auto _ : state) {
        Bytes out;
        if (zlibDecompress(idat, out) != 0) state.SkipWithError("inflate failed");
        benchmark::DoNotOptimize(out.data());
        filtered.swap(out);
    }
    setBytes(state, filtered.size());
}

void stageRows(benchmark::State& state, const Bytes& file)
{
    PngInfo info;
    Bytes idat, filtered;
    splitFile(file, info, idat);
    zlibDecompress(idat, filtered);
    for (auto _ : state) {
        state.PauseTiming();
        Bytes work, pixels;
        work.reserve(size_t(pngInflateCapacity(info, filtered.size()))); // as the decoder does
        work.assign(filtered.begin(), filtered.end());
        state.ResumeTiming();
        if (unfilterToRgba(pixels, work, info) != 0) state.SkipWithError("rows failed");
        benchmark::DoNotOptimize(pixels.data());
    }
    setBytes(state, size_t(info.width) * info.height * 4);
}

// Runs `tool IN OUT` as its own process, as a user would. The time counted is the
// child's CPU time (user and system), which a busy machine disturbs far less than
// the wall time; the wall time is a counter beside it.
void runProcess(benchmark::State& state, const char* tool, const Bytes& file, const std::string& name)
{
    const std::string in = "/tmp/zemblar_png_bench_" + name + ".png";
    const std::string out = "/tmp/zemblar_png_bench_" + name + ".rgba";
    std::ofstream(in, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    double wall = 0;
    for (auto _ : state) {
        char* argv[] = {const_cast<char*>(tool), const_cast<char*>(in.c_str()), const_cast<char*>(out.c_str()),
                        nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        const auto start = std::chrono::steady_clock::now();
        pid_t pid = 0;
        int status = 1;
        rusage usage{};
        if (posix_spawn(&pid, tool, &actions, nullptr, argv, environ) != 0 || wait4(pid, &status, 0, &usage) != pid ||
            status != 0)
            state.SkipWithError("process failed");
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        posix_spawn_file_actions_destroy(&actions);
        const auto seconds = [](const timeval& t) { return double(t.tv_sec) + t.tv_usec * 1e-6; };
        state.SetIterationTime(seconds(usage.ru_utime) + seconds(usage.ru_stime));
    }
    state.counters["wall_ms"] = benchmark::Counter(wall * 1e3 / double(state.iterations()));
    std::remove(in.c_str());
    std::remove(out.c_str());
}

const int kRegistered = [] {
    const auto reg = [](const std::string& name, auto fn) {
        benchmark::RegisterBenchmark(name.c_str(), fn)->Unit(benchmark::kMillisecond)->UseRealTime();
    };
    for (size_t i = 0; i < 4; ++i) {
        const std::string image = kImageNames[i];
        const auto file = [i]() -> const Bytes& { return imageFile(i); };
        reg("PngDecode/" + image + "/ours", [file](benchmark::State& s) { decodeOurs(s, file()); });
        reg("PngDecode/" + image + "/libspng", [file](benchmark::State& s) { decodeSpng(s, file()); });
        reg("PngDecode/" + image + "/libpng", [file](benchmark::State& s) { decodeLibpng(s, file()); });
        reg("PngStage/" + image + "/inflate", [file](benchmark::State& s) { stageInflate(s, file()); });
        reg("PngStage/" + image + "/rows", [file](benchmark::State& s) { stageRows(s, file()); });
        for (const char* tool : {ZEMBLAR_PNG2RGBA, ZEMBLAR_SPNG2RGBA}) {
            const std::string path = tool;
            benchmark::RegisterBenchmark(
                ("PngProcess/" + image + path.substr(path.rfind('/'))).c_str(),
                [file, image, tool](benchmark::State& s) { runProcess(s, tool, file(), image); })
                ->Unit(benchmark::kMillisecond)
                ->UseManualTime();
        }
    }
    return 0;
}();

void BM_DecodePng(benchmark::State& state)
{
    const uint32_t size = uint32_t(state.range(0));
    const Bytes file = encode(synthetic(size, size, 4), size, size, 4, true, state.range(1) != 0);
    decodeOurs(state, file);
}

} // namespace

// Arguments: side length, interlaced.
BENCHMARK(BM_DecodePng)->Args({1024, 0})->Args({2048, 1})->Unit(benchmark::kMillisecond);
