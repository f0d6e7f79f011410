// 自動更新: the time from the last write of a burst of PAT98 files to the
// main window showing the new figures (the quiet second included).

#include <benchmark/benchmark.h>

#include <QLabel>
#include <chrono>
#include <filesystem>

#include "fixtures/loaded_day.h"
#include "window_bench_util.h"
#include "windows/FMmain.h"

namespace {

void BM_AutoRefresh_LastWriteToFigures(benchmark::State& state) {
    zb::bench::App();
    namespace fs = std::filesystem;
    for (auto _ : state) {
        state.PauseTiming();
        zb::fixture::LoadedDay day;
        const std::string later = zb::fixture::StartWithResultsLater(day);
        day.s->settings.AutoRefresh = true;
        zb::FMmain m(*day.s);
        QCoreApplication::processEvents();
        const QString before = m.label(1)->text();
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        for (const auto& e : fs::directory_iterator(later))
            fs::copy_file(e.path(), day.tmp.path() + "/" + e.path().filename().string());
        while (m.label(1)->text() == before &&
               std::chrono::steady_clock::now() - start < std::chrono::seconds(10))
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
}
BENCHMARK(BM_AutoRefresh_LastWriteToFigures)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

}  // namespace
