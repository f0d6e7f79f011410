// The passbook window on a passbook of 100,000 days (the store's bound): read
// the file, open the window, draw the chart and show the year totals. The
// target is under 100 ms for all of it.

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <memory>

#include "accounting/passbook.h"
#include "bench_util.h"
#include "fixtures/pat98_writer.h"
#include "window_bench_util.h"
#include "windows/FmKei.h"

namespace {

// A day line per day from 1900 on, newest first, some losing.
std::string HundredThousandDays() {
    std::string t;
    t.reserve(36 * 100032);
    auto line = [&](const std::string& date, int stake, int payout) {
        std::string l = date;
        auto field = [&](int v, std::size_t w) {
            std::string f = std::to_string(v);
            f.resize(w, ' ');
            l += f;
        };
        field(stake, 8);
        field(payout, 8);
        field(payout - stake, 9);
        t += l + "\r\n";
    };
    auto day = [&](int i) {
        const int n = 99999 - i;
        line(std::to_string((1900 + n / 336) * 10000 + (1 + n % 336 / 28) * 100 + 1 + n % 28),
             1000 + n % 7 * 100, (n * 7919) % 2600);
    };
    for (int i = 0; i < 10; ++i) day(i);
    for (int i = 0; i < 22; ++i) line("00000000", 0, 0);
    for (int i = 10; i < 100000; ++i) day(i);
    return t;
}

void BM_PassbookWindowHundredThousandDays(benchmark::State& state) {
    zb::bench::App();
    zb::fixture::TempDir tmp;
    zb::fixture::Pat98Dir(tmp.path()).writeBytes("Korvane.txt", HundredThousandDays());
    zb::bench::Silent sink;
    auto s = std::make_unique<zb::AppState>();
    s->HomeFolder = tmp.path();
    s->Messages = &sink;
    s->ScreenHeight = s->ScreenWidth = 12000;
    for (auto _ : state) {
        zb::ReadPassbook(*s);
        zb::FmKei k(*s);
        k.show();
        k.toolButton(4)->trigger();
        benchmark::DoNotOptimize(k.grab());
        k.toolButton(5)->trigger();
        benchmark::DoNotOptimize(k.grab());
    }
    if (s->PassbookReadFailed) state.SkipWithError("the passbook was not read");
    state.counters["days"] = static_cast<double>(s->PassbookCount);
    state.counters["peak_rss_kb"] = static_cast<double>(zb::bench::PeakKb());
}
BENCHMARK(BM_PassbookWindowHundredThousandDays)->Unit(benchmark::kMillisecond);

}  // namespace
