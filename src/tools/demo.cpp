// zubrica98-demo DIR: writes the bundled demo race day into DIR.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <vector>

#include "accounting/passbook.h"
#include "archive/archive.h"
#include "fixtures/demo_day.h"
#include "fixtures/pat98_writer.h"

namespace {

constexpr const char* kUsage =
    "usage: zubrica98-demo DIR\n"
    "Writes the bundled demo race day (a PAT98 folder: pat98.exe, race programme,\n"
    "results, payouts, odds and purchase log) and three seasons of passbook\n"
    "(Korvane.txt) with the archive of its bets (Korvane.db) into the folder DIR,\n"
    "made when missing. Start zubrica98 with\n"
    "DIR as the current directory to see it.\n"
    "  --help  print this text\n";

// A passbook of the seasons before the demo day: about three years of weekend
// race days, some of them losing months, for the passbook's history views.
std::vector<zb::PassbookEntry> WriteDemoPassbook(const std::string& folder) {
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
    return list;
}

// The bets behind one passbook day: its stake in bets of 100 to 500 yen at the
// demo's three venues, its payout shared among one or two hits. Odds follow
// what each bet paid or, for a miss, a plausible price; now and then unknown.
std::vector<zb::ArchivedBet> DemoBets(const zb::PassbookEntry& e, int32_t date) {
    uint32_t seed = static_cast<uint32_t>(date);
    auto next = [&seed](uint32_t n) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int32_t>((seed >> 8) % n);
    };
    static constexpr int16_t kVenues[] = {5, 6, 9};
    std::vector<zb::ArchivedBet> bets;
    for (int32_t left = e.stake / 100; left > 0;) {
        zb::ArchivedBet b;
        const int32_t units = std::min(left, 1 + next(5));
        left -= units;
        b.date = date;
        b.venue = kVenues[next(3)];
        b.race = static_cast<int16_t>(1 + next(12));
        b.kind = next(20) == 0 ? 3 : 1;
        b.type = static_cast<int16_t>(1 + next(5));
        b.second = static_cast<int16_t>(2 + next(15));
        b.first = static_cast<int16_t>(b.type <= 2 ? 0 : 1 + next(b.second - 1));
        if (b.type == 3) b.first = static_cast<int16_t>(1 + b.first % 8);
        if (b.type == 3) b.second = static_cast<int16_t>(b.first + next(9 - b.first));
        b.stake = units * 100;
        b.result = 2;
        b.reference = std::to_string(1000 + next(9000));
        if (next(10) != 0) b.odds = 12 + next(40) * (1 + next(20));
        bets.push_back(b);
    }
    if (bets.empty()) return bets;
    // The payout, a multiple of 10 yen, on one or two of the bets.
    const std::size_t hits = e.payout >= 20 && bets.size() > 1 ? 1 + next(2) : 1;
    const std::size_t first =
        static_cast<std::size_t>(next(static_cast<uint32_t>(bets.size() - hits + 1)));
    for (std::size_t h = 0; h < hits && e.payout > 0 && first + h < bets.size(); ++h) {
        zb::ArchivedBet& b = bets[first + h];
        const int32_t share = e.payout / 20 * 10;
        b.result = 1;
        b.payout = h + 1 < hits ? share : e.payout - static_cast<int32_t>(hits - 1) * share;
        b.odds = std::max<int32_t>(10, b.payout / (b.stake / 10));
    }
    for (zb::ArchivedBet& b : bets)
        if (b.odds) b.popularity = std::clamp<int32_t>(*b.odds / 25 + 1, 1, 18);
    return bets;
}

// The archive of the passbook's days: every day's sums equal its entry.
void WriteDemoArchive(const std::string& folder, const std::vector<zb::PassbookEntry>& list) {
    zb::ArchiveDays days;
    for (const zb::PassbookEntry& e : list) {
        const int32_t date = zb::LenientI32(e.date.view());
        days[date] = DemoBets(e, date);
    }
    const std::string path = folder + "/Korvane.db";
    std::filesystem::remove(path);
    zb::WriteDays(path, days);
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
        WriteDemoArchive(argv[1], WriteDemoPassbook(argv[1]));
    } catch (const std::exception& e) {
        std::cerr << "zubrica98-demo: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
