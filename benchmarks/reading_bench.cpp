// The report run (start-up, reading pass and the main window's texts) on two
// race days, beside the bare cost of opening and reading the files it reads.
//
// Heavy day: 3 meetings all settled, 1000 bets in 100 purchase files, about
// 2000 payout entries. Morning day: the same bets, most result files not yet
// written, odds and post-time files of every race of today and tomorrow.
// Figures mean something in a Release build (-DCMAKE_BUILD_TYPE=Release).

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
#include "accounting/passbook.h"
#include "accounting/settlement.h"
#include "bench_util.h"
#include "fixtures/pat98_writer.h"
#include "fixtures/race_day_writer.h"
#include "readers/readers.h"
#include "startup/settings.h"
#include "startup/startup.h"

namespace {

using namespace zb::fixture;
using zb::bench::Silent;

constexpr int kVenues[3] = {5, 9, 7};

void SettledByPayouts(RaceDay& day, int v, int r) {
    day.payouts(v, r, {'1', {{0, 1, 200}, {0, 2, 300}, {0, 3, 400}}},
                {'1', {{0, 1, 110}, {0, 2, 120}, {0, 3, 130}, {0, 4, 140}, {0, 5, 150}}},
                {'1', {{1, 2, 500}, {1, 3, 600}, {2, 3, 700}}},
                {'1', {{1, 2, 800}, {1, 3, 900}, {2, 3, 1000}}, {18}},
                {'1', {{1, 2, 300}, {1, 3, 310}, {2, 3, 320}, {1, 4, 330}, {2, 4, 340}}, {18}});
}

RaceResult FullRaceResult(int r) {
    RaceResult res;
    res.win(r, 250).win(r + 1, 260).win(r + 2, 270);
    for (int k = 0; k < 5; ++k) res.place(1 + k, 110 + k);
    res.bracket(1, 2, 900).bracket(1, 3, 910).bracket(2, 3, 920);
    res.quinella(1, 2, 1500).quinella(1, 3, 1600).quinella(2, 3, 1700);
    for (int k = 0; k < 5; ++k) res.wide(1, 2 + k, 400 + k);
    return res.scratched(18);
}

void Bets(RaceDay& day) {
    for (int f = 0; f < 100; ++f) {
        std::vector<Bet> bets;
        for (int b = 0; b < 10; ++b) {
            const int n = f * 10 + b;
            Bet bet{1, kVenues[n % 3], 1 + n % 12, 1 + n % 5, 0, 1 + n % 18, 1 + n % 9, 1};
            if (bet.type >= 3) bet.first = 1 + n % 3;
            if (n % 17 == 0) bet.accept = 11;
            bets.push_back(bet);
        }
        day.buy(day.date(), bets);
    }
}

void Odds(RaceDay& day, int v, int r, bool tomorrow) {
    WinPlaceOdds zo(16);
    QuinellaOdds uo(16);
    for (int h = 1; h <= 16; ++h) {
        zo.horse(h, " 12.3", "  2.1", "  3.4");
        for (int k = h + 1; k <= 16; ++k) uo.pair(h, k, "  45.6", "  12.3", "  23.4");
    }
    for (int a = 1; a <= 8; ++a)
        for (int b = a; b <= 8; ++b) zo.bracket(a, b, " 34.5");
    day.odds(v, r, zo, uo, tomorrow);
    day.postTime(v, r, "1230", tomorrow);
}

// One PAT98 folder, also the program's and the passbook's folder, with a
// settings file and a passbook as the program leaves them; and the files a
// report run opens, in its order, each with whether it is there.
struct Folder {
    TempDir tmp;
    std::vector<std::pair<std::string, bool>> opened;

    explicit Folder(bool morning) {
        RaceDay day("20261206");
        for (int v : kVenues) day.meeting(v, 5, 2);
        for (int v : kVenues) {
            for (int r = 1; r <= 12; ++r) {
                if (morning) {
                    // Two races run, their result files written; the rest open.
                    if (r <= 2) day.result(v, r, FullRaceResult(r));
                    Odds(day, v, r, false);
                    Odds(day, v, r, true);
                } else if (r % 3 == 0) {
                    // A result file written before the race was run; the
                    // payout files settle the race.
                    SettledByPayouts(day, v, r);
                    Line blank(318);
                    WriteResultFile(Pat98Dir(tmp.path()), ResultFileName({v, 5, 2}, '6', r), blank);
                } else {
                    day.result(v, r, FullRaceResult(r));
                }
            }
        }
        if (morning)
            for (int v : kVenues) day.payout(PayoutKind::kTH, v, 1, {'1', {{0, 1, 200}}});
        Bets(day);
        day.write(Pat98Dir(tmp.path()));
        WriteOwnFiles();
        ListOpened(day);
    }

    zb::StartPlatform Platform() const {
        zb::StartPlatform p;
        p.currentDir = tmp.path();
        p.programFolder = tmp.path();
        p.screenHeight = 12000;
        p.screenWidth = 12000;
        return p;
    }

  private:
    void WriteOwnFiles() {
        auto s = std::make_unique<zb::AppState>();
        Silent sink;
        s->Messages = &sink;
        s->AppFolder = tmp.path() + "/";
        s->HomeFolder = tmp.path();
        zb::SaveSettings(*s);
        zb::ReadPassbook(*s);  // creates the book
    }

    void Add(const std::string& name) {
        const std::string path = tmp.path() + "/" + name;
        opened.emplace_back(path, ::access(path.c_str(), F_OK) == 0);
    }

    void ListOpened(const RaceDay& day) {
        Add("Zubrica98.ini");
        Add("pat98.exe");
        for (char c = 'A'; c <= 'F'; ++c) Add(std::string("UY-") + c + ".JRA");
        Add("Korvane.txt");
        const char year = day.date().at(3);
        for (int v : kVenues)
            for (int r = 1; r <= 12; ++r) Add(ResultFileName({v, 5, 2}, year, r));
        for (int v : kVenues)
            for (PayoutKind k : {PayoutKind::kTH, PayoutKind::kFH, PayoutKind::kWH, PayoutKind::kUH,
                                 PayoutKind::kKH})
                Add(PayoutFileName(k, {v, 5, 2}, year));
        Add("LG-FILE.JRA");
        for (std::size_t f = 1; f <= day.purchaseCount(); ++f) {
            const std::string n = std::to_string(f);
            Add("P" + std::string(4 - n.size(), '0') + n + ".JRA");
        }
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
