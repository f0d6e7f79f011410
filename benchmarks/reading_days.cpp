#include "reading_days.h"

#include <unistd.h>

#include <memory>

#include "accounting/passbook.h"
#include "bench_util.h"
#include "fixtures/pat98_writer.h"
#include "fixtures/race_day_writer.h"
#include "startup/settings.h"

namespace zb::bench {

namespace {

using namespace zb::fixture;

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

void WriteOwnFiles(const std::string& folder) {
    auto s = std::make_unique<zb::AppState>();
    Silent sink;
    s->Messages = &sink;
    s->AppFolder = folder + "/";
    s->HomeFolder = folder;
    zb::SaveSettings(*s);
    zb::ReadPassbook(*s);  // creates the book
}

OpenedFiles ListOpened(const RaceDay& day, const std::string& folder) {
    OpenedFiles opened;
    const auto add = [&](const std::string& name) {
        const std::string path = folder + "/" + name;
        opened.emplace_back(path, ::access(path.c_str(), F_OK) == 0);
    };
    add("Zubrica98.ini");
    add("pat98.exe");
    for (char c = 'A'; c <= 'F'; ++c) add(std::string("UY-") + c + ".JRA");
    add("Korvane.txt");
    const char year = day.date().at(3);
    for (int v : kVenues)
        for (int r = 1; r <= 12; ++r) add(ResultFileName({v, 5, 2}, year, r));
    for (int v : kVenues)
        for (PayoutKind k :
             {PayoutKind::kTH, PayoutKind::kFH, PayoutKind::kWH, PayoutKind::kUH, PayoutKind::kKH})
            add(PayoutFileName(k, {v, 5, 2}, year));
    add("LG-FILE.JRA");
    for (std::size_t f = 1; f <= day.purchaseCount(); ++f) {
        const std::string n = std::to_string(f);
        add("P" + std::string(4 - n.size(), '0') + n + ".JRA");
    }
    return opened;
}

}  // namespace

OpenedFiles WriteReadingDay(bool morning, const std::string& folder) {
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
                // A result file written before the race was run; the payout
                // files settle the race.
                SettledByPayouts(day, v, r);
                Line blank(318);
                WriteResultFile(Pat98Dir(folder), ResultFileName({v, 5, 2}, '6', r), blank);
            } else {
                day.result(v, r, FullRaceResult(r));
            }
        }
    }
    if (morning)
        for (int v : kVenues) day.payout(PayoutKind::kTH, v, 1, {'1', {{0, 1, 200}}});
    Bets(day);
    day.write(Pat98Dir(folder));
    WriteOwnFiles(folder);
    return ListOpened(day, folder);
}

}  // namespace zb::bench
