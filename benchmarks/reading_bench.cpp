// One reading pass over the largest day the files allow, beside the bare cost
// of opening and reading the same files.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "accounting/settlement.h"
#include "fixtures/pat98_writer.h"
#include "fixtures/race_day_writer.h"
#include "readers/readers.h"
#include "startup/startup.h"

namespace {

using namespace zb::fixture;

// 3 meetings; every race has a result file, a third of them without a result
// yet, so the payout files settle those. 100 purchase files of 10 bets.
// About 1980 payout entries.
// A morning day (morning = true) has the same programme and bets but no result
// or payout file yet: every lookup of one misses.
struct BigDay {
    TempDir tmp;
    std::vector<std::string> files;
    std::vector<std::string> allFiles;  // the programme files too

    explicit BigDay(bool morning = false) {
        RaceDay day("20261206");
        const int venues[3] = {5, 9, 7};
        for (int v : venues) day.meeting(v, 5, 2);
        for (int v : venues) {
            for (int r = 1; r <= 12 && !morning; ++r) {
                RaceResult res;
                if (r % 3 == 0) {
                    day.payouts(
                        v, r, {'1', {{0, 1, 200}, {0, 2, 300}, {0, 3, 400}}},
                        {'1', {{0, 1, 110}, {0, 2, 120}, {0, 3, 130}, {0, 4, 140}, {0, 5, 150}}},
                        {'1', {{1, 2, 500}, {1, 3, 600}, {2, 3, 700}}},
                        {'1', {{1, 2, 800}, {1, 3, 900}, {2, 3, 1000}}, {18}},
                        {'1',
                         {{1, 2, 300}, {1, 3, 310}, {2, 3, 320}, {1, 4, 330}, {2, 4, 340}},
                         {18}});
                    // A result file written before the race was run.
                    WriteResultFile(Pat98Dir(tmp.path()), ResultFileName({v, 5, 2}, '6', r),
                                    Line(318));
                    continue;
                }
                res.win(r, 250).win(r + 1, 260).win(r + 2, 270);
                for (int k = 0; k < 5; ++k) res.place(1 + k, 110 + k);
                res.bracket(1, 2, 900).bracket(1, 3, 910).bracket(2, 3, 920);
                res.quinella(1, 2, 1500).quinella(1, 3, 1600).quinella(2, 3, 1700);
                for (int k = 0; k < 5; ++k) res.wide(1, 2 + k, 400 + k);
                res.scratched(18);
                day.result(v, r, res);
            }
        }
        for (int f = 0; f < 100; ++f) {
            std::vector<Bet> bets;
            for (int b = 0; b < 10; ++b) {
                const int n = f * 10 + b;
                Bet bet{1, venues[n % 3], 1 + n % 12, 1 + n % 5, 0, 1 + n % 18, 1 + n % 9, 1};
                if (bet.type >= 3) bet.first = 1 + n % 3;
                if (n % 17 == 0) bet.accept = 11;
                bets.push_back(bet);
            }
            day.buy("20261206", bets);
        }
        day.write(Pat98Dir(tmp.path()));
        for (const auto& e : std::filesystem::directory_iterator(tmp.path())) {
            const std::string name = e.path().filename().string();
            if (name == "pat98.exe") continue;
            allFiles.push_back(e.path().string());
            if (name.rfind("UY-", 0) == 0) continue;
            files.push_back(e.path().string());
        }
    }
};

BigDay& Day() {
    static BigDay day;
    return day;
}

BigDay& Morning() {
    static BigDay day(true);
    return day;
}

void BM_ReadingPass(benchmark::State& state) {
    auto s = std::make_unique<zb::AppState>();
    s->Pat98Folder = Day().tmp.path();
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

void BM_ReadSameFilesOnly(benchmark::State& state) {
    const std::vector<std::string>& files = Day().files;
    for (auto _ : state) {
        std::size_t total = 0;
        for (const std::string& f : files) {
            std::ifstream in(f, std::ios::binary);
            std::string bytes((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
            total += bytes.size();
        }
        benchmark::DoNotOptimize(total);
    }
    state.counters["files"] = static_cast<double>(files.size());
}
BENCHMARK(BM_ReadSameFilesOnly)->Unit(benchmark::kMicrosecond);

// The whole refresh as the report command runs it (seed file, programme,
// results, payouts, purchase log, settlement) beside a plain C program that
// opens and reads every file of the folder once: the ratio of the two is the
// reading pass's overhead.
void RefreshPass(benchmark::State& state, BigDay& day) {
    auto s = std::make_unique<zb::AppState>();
    s->HomeFolder = day.tmp.path();
    for (auto _ : state) {
        zb::RefreshData(*s);
        benchmark::DoNotOptimize(s->PayoutTotal);
    }
    if (s->LastPassFailed) state.SkipWithError("the pass failed");
    state.counters["bets"] = s->BetCount;
}

void PlainCRead(benchmark::State& state, BigDay& day) {
    std::vector<char> buf(1 << 16);
    for (auto _ : state) {
        std::size_t total = 0;
        for (const std::string& f : day.allFiles) {
            std::FILE* in = std::fopen(f.c_str(), "rb");
            if (!in) continue;
            std::size_t n;
            while ((n = std::fread(buf.data(), 1, buf.size(), in)) > 0) total += n;
            std::fclose(in);
        }
        benchmark::DoNotOptimize(total);
    }
    state.counters["files"] = static_cast<double>(day.allFiles.size());
}

void BM_Refresh_HeavyDay(benchmark::State& state) {
    RefreshPass(state, Day());
}
void BM_PlainCRead_HeavyDay(benchmark::State& state) {
    PlainCRead(state, Day());
}
void BM_Refresh_MorningDay(benchmark::State& state) {
    RefreshPass(state, Morning());
}
void BM_PlainCRead_MorningDay(benchmark::State& state) {
    PlainCRead(state, Morning());
}
BENCHMARK(BM_Refresh_HeavyDay)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainCRead_HeavyDay)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Refresh_MorningDay)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainCRead_MorningDay)->Unit(benchmark::kMicrosecond);

}  // namespace
