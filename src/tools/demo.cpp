// zubrica98-demo DIR: writes the bundled demo race day into DIR.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <vector>

#include "accounting/passbook.h"
#include "fixtures/demo_day.h"
#include "fixtures/pat98_writer.h"

namespace {

constexpr const char* kUsage =
    "usage: zubrica98-demo DIR\n"
    "Writes the bundled demo race day (a PAT98 folder: pat98.exe, race programme,\n"
    "results, payouts, odds and purchase log) and three seasons of passbook\n"
    "(Korvane.txt) into the folder DIR, made when missing. Start zubrica98 with\n"
    "DIR as the current directory to see it.\n"
    "  --help  print this text\n";

// A passbook of the seasons before the demo day: about three years of weekend
// race days, some of them losing months, for the passbook's history views.
void WriteDemoPassbook(const std::string& folder) {
    using namespace std::chrono;
    zb::AppState s;
    uint32_t seed = 20240106;
    auto next = [&seed](uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % n;
    };
    std::vector<zb::PassbookEntry> list;
    for (sys_days d = sys_days(2024y / 1 / 6); d < sys_days(2026y / 12 / 6); d += days{1}) {
        const weekday w{d};
        if (w != Saturday && w != Sunday) continue;
        if (next(10) < 4) continue;  // not every race day is bet on
        const year_month_day ymd{d};
        char date[16];  // room for any int the compiler cannot rule out
        std::snprintf(date, sizeof date, "%04d%02u%02u", int(ymd.year()), unsigned(ymd.month()),
                      unsigned(ymd.day()));
        zb::PassbookEntry e;
        e.date.assign(std::u16string(date, date + 8));
        e.stake = static_cast<int32_t>(10 + next(140)) * 100;
        // Mostly less back than staked; now and then a big win. Summer months lose.
        const uint32_t luck = next(100);
        const int32_t rate = luck < 8 ? 250 + next(600) : static_cast<int32_t>(next(130));
        e.payout = e.stake *
                   (unsigned(ymd.month()) >= 7 && unsigned(ymd.month()) <= 8 ? rate / 2 : rate) /
                   1000 * 10;
        e.profit = e.payout - e.stake;
        list.push_back(e);
    }
    std::reverse(list.begin(), list.end());  // newest first
    s.Passbook = list;
    while (s.Passbook.size() < 11) s.Passbook.push_back(zb::PassbookEntry{});
    s.PassbookCount = static_cast<int32_t>(s.Passbook.size()) - 1;
    std::vector<zb::PassbookEntry> byProfit = list;
    std::stable_sort(byProfit.begin(), byProfit.end(),
                     [](const auto& a, const auto& b) { return a.profit > b.profit; });
    for (int k = 0; k <= 10; ++k) {
        zb::PassbookEntry best, worst;
        best.date.assign(u"00000000");
        worst.date.assign(u"00000000");
        const std::size_t n = byProfit.size();
        if (static_cast<std::size_t>(k) < n && byProfit[k].profit > 0) best = byProfit[k];
        if (static_cast<std::size_t>(k) < n && byProfit[n - 1 - k].profit < 0)
            worst = byProfit[n - 1 - k];
        s.BestDays(k) = best;
        s.WorstDays(k) = worst;
    }
    zb::fixture::Pat98Dir(folder).writeBytes("Korvane.txt", zb::PassbookFileText(s));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::cout << kUsage;
        return 0;
    }
    // Any other option is a mistake, not a folder name.
    if (argc != 2 || argv[1][0] == '-') {
        std::cerr << kUsage;
        return 1;
    }
    try {
        zb::fixture::WriteDemoDay(argv[1]);
        WriteDemoPassbook(argv[1]);
    } catch (const std::exception& e) {
        std::cerr << "zubrica98-demo: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
