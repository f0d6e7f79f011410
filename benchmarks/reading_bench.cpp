// The report run (start-up, reading pass and the main window's texts) on two
// race days, beside the bare cost of opening and reading the files it reads.
//
// The days are those of reading_days.h. Figures mean something in a Release build
// (-DCMAKE_BUILD_TYPE=Release).

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "accounting/day_figures.h"
#include "accounting/settlement.h"
#include "bench_util.h"
#include "fixtures/pat98_writer.h"
#include "program/startup.h"
#include "readers/readers.h"
#include "reading_days.h"

namespace {

using namespace zb::fixture;
using zb::bench::Silent;

// One PAT98 folder, also the program's and the passbook's folder, and the
// files a report run opens.
struct Folder {
    TempDir tmp;
    zb::bench::OpenedFiles opened;

    explicit Folder(bool morning) : opened(zb::bench::WriteReadingDay(morning, tmp.path())) {}

    zb::StartPlatform Platform() const {
        zb::StartPlatform p;
        p.currentDir = tmp.path();
        p.programFolder = tmp.path();
        p.screenHeight = 12000;
        p.screenWidth = 12000;
        return p;
    }
};

Folder& Day(int kind) {
    static Folder heavy(false), morning(true);
    return kind == 0 ? heavy : morning;
}

const char* DayName(int kind) {
    return kind == 0 ? "heavy" : "morning";
}

// What the report command does without output: start-up with its reading
// pass, then the main window's texts.
void ReportRun(const Folder& f) {
    Silent sink;
    auto s = std::make_unique<zb::AppState>();
    s->Messages = &sink;
    s->ReadOnly = true;
    if (!zb::Main(*s, f.Platform())) std::abort();
    const zb::MainTexts t = zb::ComputeMainTexts(*s);
    benchmark::DoNotOptimize(t.label[0].data());
}

// The floor: open, read and close every file the run reads, and the failed
// opens of the ones it looks for in vain.
void PlainRead(const Folder& f) {
    static char buf[1 << 16];
    std::size_t total = 0;
    for (const auto& [path, there] : f.opened) {
        const int fd = ::open(path.c_str(), O_RDONLY);
        if (fd < 0) continue;
        ssize_t n;
        while ((n = ::read(fd, buf, sizeof buf)) > 0) total += static_cast<std::size_t>(n);
        ::close(fd);
    }
    benchmark::DoNotOptimize(total);
}

double ThreadCpuSeconds() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The thread's CPU in the program's own code and in the kernel.
std::pair<double, double> ThreadUserSystem() {
    rusage u{};
    getrusage(RUSAGE_THREAD, &u);
    auto sec = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
    };
    return {sec(u.ru_utime), sec(u.ru_stime)};
}

void BM_ReportRun(benchmark::State& state) {
    const Folder& f = Day(static_cast<int>(state.range(0)));
    for (auto _ : state) ReportRun(f);
    state.SetLabel(DayName(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_ReportRun)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_PlainRead(benchmark::State& state) {
    const Folder& f = Day(static_cast<int>(state.range(0)));
    for (auto _ : state) PlainRead(f);
    std::size_t missing = 0;
    for (const auto& e : f.opened) missing += !e.second;
    state.counters["files"] = static_cast<double>(f.opened.size() - missing);
    state.counters["missing"] = static_cast<double>(missing);
    state.SetLabel(DayName(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_PlainRead)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Both, alternating, so that they meet the same machine state: the ratio of
// their CPU times is the figure to watch (target: at most 2).
void BM_ReportRunOverPlainRead(benchmark::State& state) {
    const Folder& f = Day(static_cast<int>(state.range(0)));
    double report = 0, plain = 0, reportUser = 0, reportSystem = 0;
    for (auto _ : state) {
        const auto [u0, s0] = ThreadUserSystem();
        const double t0 = ThreadCpuSeconds();
        ReportRun(f);
        const double t1 = ThreadCpuSeconds();
        const auto [u1, s1] = ThreadUserSystem();
        PlainRead(f);
        const double t2 = ThreadCpuSeconds();
        report += t1 - t0;
        plain += t2 - t1;
        reportUser += u1 - u0;
        reportSystem += s1 - s0;
    }
    const double n = static_cast<double>(state.iterations());
    // Split by the kernel's tick accounting: a share, not a measurement of its own.
    const double ticks = reportUser + reportSystem;
    state.counters["report_user_share"] = ticks > 0 ? reportUser / ticks : 0;
    state.counters["report_us"] = report / n * 1e6;
    state.counters["plain_us"] = plain / n * 1e6;
    state.counters["ratio"] = plain > 0 ? report / plain : 0;
    state.SetLabel(DayName(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_ReportRunOverPlainRead)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The reading pass alone on the heavy day.
void BM_ReadingPass(benchmark::State& state) {
    const Folder& f = Day(0);
    auto s = std::make_unique<zb::AppState>();
    s->Pat98Folder = f.tmp.path();
    zb::ReadProgramme(*s);
    for (auto _ : state) {
        zb::ReadRaceResults(*s);
        zb::ReadPayoutFiles(*s);
        zb::Alog(*s);
        zb::Blog(*s);
        zb::comp(*s);
        benchmark::DoNotOptimize(s->PayoutTotal);
    }
    state.counters["entries"] = s->PayoutCount;
    state.counters["bets"] = s->BetCount;
}
BENCHMARK(BM_ReadingPass)->Unit(benchmark::kMicrosecond);

}  // namespace
