// Loading and splitting scripts of growing length: the cost must grow linearly with the lines.
#include <benchmark/benchmark.h>
#include <cstring>
#include <memory>
#include <string>
#include <vector>
#include "script/Timeline.h"

static std::string makeScript(int64_t lines)
{
    std::string text;
    text.reserve(static_cast<size_t>(lines) * 40);
    for (int64_t i = 0; i < lines; ++i) {
        text += std::to_string(i * 0.01);
        text += (i % 3 == 0) ? ",cam,movepoint,1.5,-2,30,4\r\n" : " ball setpoint 0 1 2\n";
        if (i % 50 == 0) text += "# a comment line\n";
    }
    return text;
}

static void BM_SplitScript(benchmark::State& state)
{
    const std::string text = makeScript(state.range(0));
    std::unique_ptr<char[]> buffer(new char[text.size() + 4]);
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(buffer.get(), text.data(), text.size());
        std::vector<ScriptEvent> events;
        state.ResumeTiming();
        splitScript(buffer.get(), static_cast<int64_t>(text.size()), events);
        benchmark::DoNotOptimize(events.data());
    }
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SplitScript)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
