#pragma once
// Archives of many plausible race days for the benchmarks, made with the
// archive's own writer.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "archive/archive.h"
#include "fixtures/pat98_writer.h"

namespace zb::bench {

// A plausible day: bets over three venues and 12 races, every kind of bet,
// a hit now and then, odds for most.
inline std::vector<ArchivedBet> Day(int32_t date, int n, uint32_t seed) {
    auto next = [&seed](uint32_t m) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int32_t>((seed >> 8) % m);
    };
    std::vector<ArchivedBet> bets;
    for (int i = 0; i < n; ++i) {
        ArchivedBet b;
        b.date = date;
        b.venue = static_cast<int16_t>(1 + next(10));
        b.race = static_cast<int16_t>(1 + next(12));
        b.kind = 1;
        b.type = static_cast<int16_t>(1 + next(5));
        b.first = static_cast<int16_t>(b.type <= 2 ? 0 : 1 + next(8));
        b.second = static_cast<int16_t>(1 + next(18));
        b.stake = (1 + next(30)) * 100;
        b.result = static_cast<int16_t>(next(10) == 0 ? 1 : next(50) == 0 ? 3 : 2);
        b.payout = b.result == 1 ? b.stake / 100 * (110 + next(5000)) : b.result == 3 ? b.stake : 0;
        b.reference = "A" + std::to_string(100 + next(900));
        if (next(10) != 0) {
            b.odds = 11 + next(3000);
            b.popularity = 1 + next(18);
        }
        bets.push_back(std::move(b));
    }
    return bets;
}

inline int32_t DayDate(int k) {
    // Two race days a week from 2000 on; the exact calendar does not matter here.
    const int year = 2000 + k / 104, week = k % 104;
    return year * 10000 + (1 + week / 9) * 100 + 1 + week % 9 * 3;
}

// An archive of n bets in days of 1000, made once per size.
inline std::string Archive(int n) {
    static std::map<int, std::unique_ptr<fixture::TempDir>> dirs;
    auto& d = dirs[n];
    if (!d) {
        d = std::make_unique<fixture::TempDir>();
        const std::string path = d->path() + "/Korvane.db";
        // Written in slices: a million rows at once would hold them all in memory twice.
        for (int k = 0; k < n / 1000;) {
            ArchiveDays days;
            for (int j = 0; j < 100 && k < n / 1000; ++j, ++k)
                days[DayDate(k)] = Day(DayDate(k), 1000, static_cast<uint32_t>(k + 1));
            WriteDays(path, days);
        }
    }
    return d->path() + "/Korvane.db";
}

}  // namespace zb::bench
