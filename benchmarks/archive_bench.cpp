// The bet archive: writing a day of 1000 bets with its durable commit, the
// analysis over 100,000 and 1,000,000 archived bets with filters, and the
// bytes the database takes per bet.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "archive/analysis.h"
#include "archive/archive.h"
#include "archive_days.h"

namespace {

using namespace zb;
using bench::Archive;
using bench::Day;

void BM_WriteDayOf1000Bets(benchmark::State& state) {
    const std::string path = Archive(100000);
    const auto bets = Day(20991231, 1000, 7);
    for (auto _ : state) WriteDay(path, 20991231, bets);
}
BENCHMARK(BM_WriteDayOf1000Bets)->Unit(benchmark::kMillisecond);

// Every key over bets 1..n with a bet-type, venue and period filter.
void BM_Analyse(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::string path = Archive(n);
    const AnalysisKey key = static_cast<AnalysisKey>(state.range(1));
    AnalysisFilter f;
    f.from = 20000101;
    f.to = 20991231;
    f.types = 0b111010;       // place, quinella... all but win
    f.venues = 0b1111111110;  // all but 小倉
    for (auto _ : state) benchmark::DoNotOptimize(Analyse(path, key, f));
    state.counters["bytes_per_bet"] =
        static_cast<double>(std::filesystem::file_size(path)) / static_cast<double>(n);
}
BENCHMARK(BM_Analyse)
    ->ArgsProduct({{100000, 1000000}, {0, 1, 2, 3, 4, 5, 6, 7}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
