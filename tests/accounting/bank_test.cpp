#include "accounting/bank.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "fixtures/loaded_day.h"
#include "platform/sjis.h"
#include "program/startup.h"

namespace zb {
namespace {

using fixture::Bet;
using fixture::LoadedDay;
using fixture::RaceDay;
using fixture::RaceResult;

// Settled records as the settlement leaves them.
std::string Rec(int kind, int venue, int race, int units, int result = 0, long rate = 0,
                int accept = 1) {
    char buf[40];
    std::string r = result == 1   ? (std::snprintf(buf, sizeof buf, "%06ld", rate), buf)
                    : result == 3 ? "   100"
                                  : "      ";
    std::snprintf(buf, sizeof buf, "%d%02d%02d10001%04d%02d%d%s    ", kind, venue, race, units,
                  accept, result, r.c_str());
    return buf;
}

struct Chart {
    std::unique_ptr<AppState> s = std::make_unique<AppState>();
    Chart() {
        s->MeetingCount = 3;
        const int16_t rows[3][3] = {{5, 3, 8}, {9, 2, 4}, {10, 1, 1}};
        for (int i = 0; i < 3; ++i)
            for (int k = 0; k < 3; ++k) s->MeetingTable(i + 1, k + 1) = rows[i][k];
    }
    Chart& bet(const std::string& text) {
        s->BetLog(s->BetCount).assign(Utf8ToU16(text));
        ++s->BetCount;
        return *this;
    }
    Chart& settled(int venue, int race) {
        s->RaceStatus(venue, race) = kSettledCount;
        return *this;
    }
    BankChart run() { return bankdsp(*s); }
};

struct RaceCase {
    const char* name;
    std::vector<std::string> bets;
    bool settled;
    const char* stake;
    const char* profit;
    BankMark mark;
    int32_t payoutCell;
};

class BankRace : public ::testing::TestWithParam<RaceCase> {};

TEST_P(BankRace, StakeProfitAndColour) {
    const RaceCase& c = GetParam();
    Chart ch;
    for (const auto& b : c.bets) ch.bet(b);
    if (c.settled) ch.settled(5, 4);
    const BankChart chart = ch.run();
    const BankMeeting& m = chart.meeting[0];
    EXPECT_EQ(U16ToUtf8(m.tohyo[3]), c.stake);
    EXPECT_EQ(U16ToUtf8(m.soneki[3]), c.profit);
    EXPECT_EQ(m.sonekiMark[3], c.mark);
    EXPECT_EQ(ch.s->BankTable(3, 3), c.payoutCell);
    EXPECT_EQ(ch.s->CurrentProc, "bankdsp");
}

const RaceCase kRaceCases[] = {
    {"OpenRaceIsGrey", {Rec(1, 5, 4, 10)}, false, "1000", "-1000", BankMark::kGrey, 0},
    {"SettledWinIsSigned",
     {Rec(1, 5, 4, 10, 1, 250)},
     true,
     "1000",
     "+1500",
     BankMark::kNone,
     2500},
    {"RefundCountsAsPayout", {Rec(1, 5, 4, 3, 3)}, true, "300", "0", BankMark::kNone, 300},
    {"SettledLossIsRed", {Rec(1, 5, 4, 2, 2)}, true, "200", "-200", BankMark::kRed, 0},
    {"GreyWinsOverRed", {Rec(3, 5, 4, 2, 2)}, false, "200", "-200", BankMark::kGrey, 0},
    {"RejectedAndUncountedLeftOut",
     {Rec(1, 5, 4, 9, 9, 0, 11), Rec(4, 5, 4, 9), Rec(1, 5, 4, 1, 1, 100)},
     true,
     "100",
     "0",
     BankMark::kNone,
     100},
    {"NoStake", {}, true, "0", "0", BankMark::kNone, 0},
};

INSTANTIATE_TEST_SUITE_P(Bank, BankRace, ::testing::ValuesIn(kRaceCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Bank, TomorrowStakeAndLastRace) {
    Chart ch;
    ch.bet(Rec(2, 9, 5, 4)).bet(Rec(2, 9, 9, 2)).bet(Rec(1, 9, 1, 1));
    const BankChart c = ch.run();
    EXPECT_EQ(ch.s->BankTable(1, kTomorrowRow), 600);
    EXPECT_EQ(ch.s->BankTable(4, kTomorrowRow), 9);
    EXPECT_EQ(U16ToUtf8(c.meeting[1].maeuri), "600");
    EXPECT_TRUE(c.meeting[1].tomorrowClickable);
    // Tomorrow's stake is in the stake total, not in the profit total.
    EXPECT_EQ(U16ToUtf8(c.meeting[1].tohyokei), "700");
    EXPECT_EQ(U16ToUtf8(c.meeting[1].sonekikei), "-100");
    EXPECT_EQ(c.meeting[1].sonekikeiMark, BankMark::kRed);
}

TEST(Bank, TitlesAndTwoMeetingsLeaveTheThirdUntouched) {
    Chart ch;
    ch.s->MeetingCount = 2;
    ch.s->MeetingTable(2, 1) = 11;  // no such venue
    ch.bet(Rec(1, 10, 1, 5));       // Kokura has no panel today
    const BankChart c = ch.run();
    EXPECT_EQ(c.panels, 2);
    EXPECT_EQ(U16ToUtf8(c.meeting[0].kaisai), "東京 3回 8日");
    EXPECT_EQ(U16ToUtf8(c.meeting[1].kaisai), "     2回 4日");
    EXPECT_EQ(c.meeting[1].sonekiMark[0], BankMark::kGrey);  // no results for it
    EXPECT_TRUE(c.meeting[2].kaisai.empty());
    EXPECT_TRUE(c.meeting[2].tohyo[0].empty());
    for (int col = 0; col < 6; ++col) EXPECT_EQ(ch.s->BankTable(col, 0), 0) << col;
}

TEST(Bank, BetsOutsideTheChartAreLeftOut) {
    Chart ch;
    ch.bet(Rec(1, 7, 1, 5))    // venue without a meeting today
        .bet(Rec(2, 7, 3, 5))  // tomorrow at that venue
        .bet(Rec(1, 5, 13, 5))
        .bet(Rec(1, 5, 0, 5))
        .bet(Rec(2, 5, 14, 5))
        .bet(Rec(1, 12, 1, 5))
        .bet(Rec(1, 5, 12, 1));
    const BankChart c = ch.run();
    EXPECT_EQ(U16ToUtf8(c.meeting[0].tohyokei), "100");
    EXPECT_EQ(ch.s->BankTable(0, 11), 100);
    EXPECT_EQ(ch.s->BankTable(3, kTomorrowRow), 0);
    EXPECT_EQ(U16ToUtf8(c.meeting[1].tohyokei), "0");
}

TEST(Bank, OverflowIsFailureSixAndLeavesNoPartialTable) {
    Chart ch;
    ch.bet(Rec(1, 5, 1, 1)).bet(Rec(1, 5, 2, 9999, 1, 999999));
    try {
        ch.run();
        FAIL() << "no failure";
    } catch (const RunError& e) {
        EXPECT_EQ(e.number, 6);
    }
    EXPECT_EQ(ch.s->CurrentProc, "bankdsp");
    EXPECT_EQ(ch.s->BankTable(0, 0), 0);
    // Sums that fit one cell but not the total fail as well.
    Chart big;
    for (int r = 1; r <= 3; ++r) big.bet(Rec(1, 5, r, 9999, 1, 200000));
    EXPECT_THROW(big.run(), RunError);
}

struct RowCase {
    const char* name;
    int16_t serial;
    int flaggedRaces;      // races 1..n of meeting A flagged
    bool tomorrowFlagged;  // file D flags a race
    int shownRaces;
    bool tomorrowShown;
};

class BankRows : public ::testing::TestWithParam<RowCase> {};

TEST_P(BankRows, HiddenRows) {
    const RowCase& c = GetParam();
    Chart ch;
    ch.s->ProgrammeSerial = c.serial;
    for (int r = 1; r <= c.flaggedRaces; ++r) ch.s->RaceFlags(1, r) = 1;
    if (c.tomorrowFlagged) ch.s->RaceFlags(4, 7) = 1;
    const BankChart chart = ch.run();
    int shown = 0;
    for (bool b : chart.meeting[0].raceShown) shown += b;
    EXPECT_EQ(shown, c.shownRaces);
    EXPECT_EQ(chart.meeting[0].raceShown[11], c.shownRaces == 12);
    EXPECT_EQ(chart.meeting[0].tomorrowShown, c.tomorrowShown);
}

const RowCase kRowCases[] = {
    {"FlagsOnlyRacesOneToTen", 1, 10, true, 10, true},
    {"NoRaceTomorrowHidesTheTomorrowRow", 1, 12, false, 12, false},
    {"SerialZeroHidesNothing", 0, 0, false, 12, true},
    {"NegativeSerialHidesNothing", -1, 0, false, 12, true},
};

INSTANTIATE_TEST_SUITE_P(Bank, BankRows, ::testing::ValuesIn(kRowCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The reading pass and the chart together on a day written to a folder.
TEST(Bank, ReadDayAsText) {
    LoadedDay d;
    RaceDay day("20261206");
    day.meeting(5, 3, 8, "111000000000").tomorrow(5, 3, 9, "000000000000");
    day.buy("20261206", {Bet::Win(5, 1, 7, 3), Bet::Win(5, 2, 4, 2), Bet::Place(5, 3, 1, 1),
                         Bet::Win(5, 9, 2, 1).later()});
    day.result(5, 1,
               RaceResult().win(7, 450).place(7, 150).bracket(1, 2, 500).quinella(1, 7, 900).wide(
                   1, 7, 300));
    day.result(5, 2,
               RaceResult().win(3, 450).place(3, 150).bracket(1, 2, 500).quinella(1, 3, 900).wide(
                   1, 3, 300));
    d.load(day);
    LoadAll(*d.s);
    EXPECT_EQ(U16ToUtf8(BankChartText(bankdsp(*d.s))),
              "東京 3回 8日\n"
              "1R\t300\t+1050\n"
              "2R\t200\t-200\tred\n"
              "3R\t100\t-100\tgrey\n"
              "計\t700\t+750\n");
}

}  // namespace
}  // namespace zb
