// Reading the user's two files when they are huge: a 10 MB passbook or
// settings file costs what the bounds allow, never what the file holds.

#include <benchmark/benchmark.h>

#include <memory>

#include "accounting/passbook.h"
#include "bench_util.h"
#include "fixtures/pat98_writer.h"
#include "startup/settings.h"

namespace {

using namespace zb::fixture;
using zb::bench::PeakKb;
using zb::bench::Silent;

constexpr std::size_t kTenMb = 10 * 1000 * 1000;

// A folder with both files made of `fill`, and a state pointing at it.
struct HugeFiles {
    TempDir tmp;
    Silent sink;
    std::unique_ptr<zb::AppState> s = std::make_unique<zb::AppState>();
    explicit HugeFiles(const std::string& fill) {
        Pat98Dir d(tmp.path());
        d.writeBytes("Korvane.txt", fill);
        d.writeBytes("Zubrica98.ini", "[WINDOW]\r\nTop0=100\r\n" + fill);
        s->HomeFolder = tmp.path();
        s->AppFolder = tmp.path() + "/";
        s->Messages = &sink;
    }
};

const std::string& Fill(int kind) {
    static const std::string blankLines(kTenMb, '\n');
    static const std::string oneLine(kTenMb, '7');
    static const std::string underTheByteBound(zb::kPassbookMaxBytes, '\n');
    return kind == 0 ? blankLines : kind == 1 ? oneLine : underTheByteBound;
}

void BM_ReadPassbookHuge(benchmark::State& state) {
    HugeFiles f(Fill(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        zb::ReadPassbook(*f.s);
        benchmark::DoNotOptimize(f.s->Passbook.size());
    }
    state.counters["days_kept"] = static_cast<double>(f.s->Passbook.size());
    state.counters["peak_rss_kb"] = static_cast<double>(PeakKb());
}
// 0: 10 MB of blank lines, 1: one 10 MB line, 2: blank lines just under the byte bound.
BENCHMARK(BM_ReadPassbookHuge)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_LoadSettingsHuge(benchmark::State& state) {
    HugeFiles f(Fill(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        zb::LoadSettings(*f.s);
        benchmark::DoNotOptimize(f.s->settings.Top(0));
    }
    state.counters["peak_rss_kb"] = static_cast<double>(PeakKb());
}
BENCHMARK(BM_LoadSettingsHuge)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
