// The analysis window opened on 100,000 and 1,000,000 archived bets, up to its
// first paint: the year list of its period choice, the table by bet type and
// the archive's first date. The target is 100 ms on 100,000 bets.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "archive_days.h"
#include "bench_util.h"
#include "window_bench_util.h"
#include "windows/FmAnalysis.h"

namespace {

void BM_AnalysisWindowFirstPaint(benchmark::State& state) {
    zb::bench::App();
    const std::string path = zb::bench::Archive(static_cast<int>(state.range(0)));
    zb::bench::Silent sink;
    auto s = std::make_unique<zb::AppState>();
    s->HomeFolder = s->Pat98Folder = std::filesystem::path(path).parent_path().string();
    s->Messages = &sink;
    s->ScreenHeight = s->ScreenWidth = 12000;
    for (auto _ : state) {
        zb::FmAnalysis w(*s);
        w.show();
        benchmark::DoNotOptimize(w.grab());
    }
}
BENCHMARK(BM_AnalysisWindowFirstPaint)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
