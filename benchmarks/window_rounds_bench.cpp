// Memory of the program while the user opens and closes windows all day:
// rounds of bank chart (with a race's detail and results board), bet list,
// passbook and refresh on the demo day, as the toolbar runs them, each window
// shown and painted. Resident memory is
// taken after a warm-up and after the last round; it must stay flat. The
// platform is whatever QT_QPA_PLATFORM says (offscreen when unset).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>
#include <cstdio>
#include <memory>

#include "bench_util.h"
#include "fixtures/demo_day.h"
#include "fixtures/pat98_writer.h"
#include "program/startup.h"
#include "window_bench_util.h"
#include "windows/FMmain.h"
#include "windows/qt_messages.h"
#include "windows/twips.h"

namespace {

// Resident memory now, from /proc (peak memory cannot show a leak's growth).
double RssMb() {
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return static_cast<double>(resident) * 4096.0 / (1024.0 * 1024.0);
}

using zb::bench::App;

int boards = 0;  // rounds that opened the results board

void Round(zb::FMmain& m, zb::AppState& s) {
    m.ShowBankChart();
    QCoreApplication::processEvents();
    // Tokyo 1R, settled: the race detail and the results board beside it.
    s.DetailVenue = s.DetailRace = s.DetailTomorrow = 0;
    m.ShowRaceDetail();
    QCoreApplication::processEvents();
    if (m.Fmlog && m.FmVision) ++boards;
    m.ShowBetList();
    QCoreApplication::processEvents();
    m.ShowPassbook();
    QCoreApplication::processEvents();
    m.RefreshAll();
    // What the event loop does between two clicks: closed windows go.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

void BM_WindowRounds_Rss(benchmark::State& state) {
    App();
    zb::fixture::TempDir dir;
    zb::fixture::WriteDemoDay(dir.path());
    zb::bench::Silent sink;
    auto s = std::make_unique<zb::AppState>();
    s->Messages = &sink;
    const zb::ScreenTwips screen = zb::PrimaryScreenTwips();
    if (!zb::Main(*s, zb::StartPlatform{dir.path(), dir.path(), screen.height, screen.width})) {
        state.SkipWithError("start-up failed");
        return;
    }
    zb::FMmain m(*s);
    m.show();
    QCoreApplication::processEvents();
    const int warm = 100, rounds = static_cast<int>(state.range(0));
    double before = 0, after = 0;
    for (auto _ : state) {
        for (int i = 0; i < warm; ++i) Round(m, *s);
        before = RssMb();
        for (int i = 0; i < rounds; ++i) Round(m, *s);
        after = RssMb();
    }
    state.counters["rss_MB_warm"] = before;
    state.counters["rss_MB_end"] = after;
    state.counters["growth_KB_per_round"] = (after - before) * 1024.0 / rounds;
    state.counters["peak_rss_MB"] = static_cast<double>(zb::bench::PeakKb()) / 1024.0;
    state.counters["rounds_with_board"] = boards;
    state.counters["widgets"] = static_cast<double>(QApplication::allWidgets().size());
}
BENCHMARK(BM_WindowRounds_Rss)->Arg(600)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
