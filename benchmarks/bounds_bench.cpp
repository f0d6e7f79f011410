// A refresh on files and folders of any size: a 100 MB PAT98 file of each
// family, a seed file of many "../" components and a folder of many files.
// The cost must follow what the layouts use, not the sizes.

#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <string>

#include "bench_util.h"
#include "fixtures/pat98_writer.h"
#include "fixtures/race_day_writer.h"
#include "program/startup.h"
#include "readers/readers.h"

namespace {

using namespace zb::fixture;
using zb::bench::PeakKb;
using zb::bench::Silent;

constexpr std::size_t kHundredMb = 100 * 1000 * 1000;

// One meeting: a settled race, a race settled by its payout files, two
// purchase files, odds and post time of race 3.
RaceDay SmallDay() {
    RaceDay day("20261206");
    day.meeting(5, 5, 2);
    day.buy("20261206", {Bet::Win(5, 1, 7, 3), Bet::Quinella(5, 2, 3, 7, 2)});
    day.buy("20261206", {Bet::Place(5, 3, 4, 5)});
    day.result(5, 1, RaceResult().win(7, 450).place(7, 150).quinella(3, 7, 2210));
    day.payouts(5, 2, {'1', {{0, 7, 300}}}, {'1', {{0, 7, 120}}}, {'1', {{1, 2, 500}}},
                {'1', {{3, 7, 900}}}, {'1', {{3, 7, 400}}});
    day.odds(5, 3, WinPlaceOdds(8).horse(4, "  4.5", "  1.1", "  1.9"),
             QuinellaOdds(8).pair(3, 4, "  12.5", "   3.1", "   4.0"));
    day.postTime(5, 3, "1540");
    return day;
}

// The day's folder and a state refreshed from it, the race detail's race set.
struct Folder {
    TempDir tmp;
    Pat98Dir dir{tmp.path()};
    Silent sink;
    std::unique_ptr<zb::AppState> s = std::make_unique<zb::AppState>();
    Folder() {
        SmallDay().write(dir);
        s->Pat98Folder = tmp.path();
        s->HomeFolder = tmp.path();
        s->Messages = &sink;
    }
    // The file's own bytes, then blanks up to `size` bytes.
    void grow(const std::string& name, std::size_t size) const {
        std::ofstream out(dir.file(name), std::ios::binary | std::ios::app);
        const std::string chunk(1 << 20, ' ');
        for (std::size_t n = ReadAll(dir.file(name)).size(); n < size; n += chunk.size())
            out.write(chunk.data(), static_cast<std::streamsize>(std::min(chunk.size(), size - n)));
    }
    void refresh() {
        zb::RefreshData(*s);
        const std::string stem = tmp.path() + "/";
        zb::ReadWinPlaceOdds(*s, stem + "ZO-" + RaceStem({5, 5, 2}, 3, false) + ".JRA");
        zb::ReadQuinellaOdds(*s, stem + "UO-" + RaceStem({5, 5, 2}, 3, false) + ".JRA");
        zb::ReadPostTime(*s, stem + "DE-" + RaceStem({5, 5, 2}, 3, false) + ".JRA");
    }
};

const char* const kFamilies[] = {
    "",          "UY-A.JRA", "KS-56521.JRA", "TH-5652.JRA", "KH-5652.JRA", "LG-FILE.JRA",
    "P0001.JRA", "ZO-"};

// 0: no file grown; otherwise one file of a family grown to 100 MB.
void BM_RefreshWithHugeFile(benchmark::State& state) {
    Folder f;
    std::string name = kFamilies[state.range(0)];
    if (name == "ZO-") name += RaceStem({5, 5, 2}, 3, false) + ".JRA";
    if (!name.empty()) f.grow(name, kHundredMb);
    for (auto _ : state) {
        f.refresh();
        benchmark::DoNotOptimize(f.s->PayoutTotal);
    }
    state.SetLabel(name.empty() ? "none" : name);
    state.counters["failed"] = f.s->LastPassFailed;
    state.counters["peak_rss_kb"] = static_cast<double>(PeakKb());
}
BENCHMARK(BM_RefreshWithHugeFile)->DenseRange(0, 7)->Unit(benchmark::kMillisecond);

// A seed file of n "../" components before the day's own folder.
void BM_RefreshWithLongSeed(benchmark::State& state) {
    Folder f;
    TempDir home;
    std::string path;
    for (long k = 0; k < state.range(0); ++k) path += "../";
    path += f.tmp.path().substr(1);
    Pat98Dir(home.path()).seed(path);
    f.s->HomeFolder = home.path();
    for (auto _ : state) {
        f.refresh();
        benchmark::DoNotOptimize(f.s->PayoutTotal);
    }
    state.counters["seed_bytes"] = static_cast<double>(path.size() + 2);
    state.counters["failed"] = f.s->LastPassFailed;
}
BENCHMARK(BM_RefreshWithLongSeed)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

// The day's folder crowded with n other files; most of the day's result and
// payout files are not there, as in the morning.
void BM_RefreshInCrowdedFolder(benchmark::State& state) {
    Folder f;
    for (long k = 0; k < state.range(0); ++k)
        f.dir.writeBytes("other" + std::to_string(k) + ".dat", "");
    for (auto _ : state) {
        f.refresh();
        benchmark::DoNotOptimize(f.s->PayoutTotal);
    }
    state.counters["files"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_RefreshInCrowdedFolder)
    ->Arg(0)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
