#include "accounting/race_detail.h"

#include <gtest/gtest.h>

#include "fixtures/loaded_day.h"
#include "program/startup.h"

namespace zb {
namespace {

using fixture::Bet;
using fixture::LoadedDay;
using fixture::QuinellaOdds;
using fixture::RaceDay;
using fixture::RaceResult;
using fixture::WinPlaceOdds;

constexpr int kTokyo = 5;

// Tokyo race 11 is open with odds and a post time; race 1 is settled (its
// odds files are there but must not be read); race 1 of tomorrow has odds.
RaceDay Day() {
    RaceDay day("20261206");
    day.meeting(kTokyo, 5, 2);
    WinPlaceOdds zo(12);
    zo.horse(7, "  3.4", "  1.5", "  2.0").bracket(3, 6, " 12.5");
    QuinellaOdds uo(12);
    uo.pair(2, 7, "  18.2", "   5.1", "   6.0");
    day.odds(kTokyo, 11, zo, uo).postTime(kTokyo, 11, "1540");
    day.odds(kTokyo, 1, WinPlaceOdds(12).horse(5, "  9.9", "  2.2", "  3.3"), QuinellaOdds(12));
    day.postTime(kTokyo, 1, "1005");
    day.odds(kTokyo, 1, WinPlaceOdds(10).horse(4, "  6.1", "  1.9", "  2.4"), QuinellaOdds(10),
             true);
    day.postTime(kTokyo, 1, "0950", true);
    day.result(
        kTokyo, 1,
        RaceResult().win(3, 340).place(3, 140).quinella(3, 8, 1870).wide(3, 8, 625).scratched(12));
    day.buy("20261206", {Bet::Win(kTokyo, 11, 7, 3), Bet::Win(kTokyo, 11, 19, 1),
                         Bet::Place(kTokyo, 11, 7, 1), Bet::Bracket(kTokyo, 11, 3, 6, 2),
                         Bet::Bracket(kTokyo, 11, 3, 9, 1), Bet::Quinella(kTokyo, 11, 2, 7, 10),
                         Bet::Wide(kTokyo, 11, 2, 7, 1), Bet::Wide(kTokyo, 11, 4, 5, 1),
                         Bet::Win(kTokyo, 11, 8, 1).rejected(31), Bet::Quinella(kTokyo, 1, 3, 8, 2),
                         Bet::Wide(kTokyo, 1, 3, 8, 1), Bet::Win(kTokyo, 1, 5, 1),
                         Bet::Win(kTokyo, 1, 12, 4), Bet::Win(kTokyo, 1, 4, 2).later()});
    return day;
}

struct Detail : ::testing::Test {
    LoadedDay d;
    AppState& s = d.load(Day());
    void SetUp() override { LoadAll(s); }
    std::string Report(int race, bool tomorrow) {
        s.DetailVenue = 0;
        s.DetailRace = static_cast<int16_t>(race - 1);
        s.DetailTomorrow = tomorrow ? 1 : 0;
        RaceDetail(s);
        return U16ToUtf8(s.ReportText);
    }
};

TEST_F(Detail, OpenRaceShowsCurrentOddsAndPostTime) {
    EXPECT_EQ(Report(11, false),
              " 単  7       300  [   3.4]\r\n"
              " 単 19       100 \r\n"  // beyond the odds tables: no odds
              " 複  7       100  [   1.5]\r\n"
              " 枠  3- 6    200  [  12.5]\r\n"
              " 枠  3- 9    100 \r\n"
              " 馬  2- 7   1000  [  18.2]\r\n"
              " ワ  2- 7    100  [   5.1]\r\n"
              " ワ  4- 5    100  [  ﾄﾘｹｼ]\r\n");
    EXPECT_EQ(U16ToUtf8(s.PostTime), "15時40分");
}

TEST_F(Detail, SettledRaceShowsResultsAndPaidOddsWithoutReadingOdds) {
    EXPECT_EQ(Report(1, false),
              " 単  5       100 ×\r\n"
              " 単 12       400 返\r\n"
              " 馬  3- 8    200 ○   18.7\r\n"
              " ワ  3- 8    100 ○   6.25\r\n");
    EXPECT_EQ(U16ToUtf8(s.PostTime), "");
    EXPECT_EQ(U16ToUtf8(s.WinOdds(5)), "  0.0");
}

TEST_F(Detail, TomorrowReadsTheNextDaysFiles) {
    EXPECT_EQ(Report(1, true), " 単  4       200  [   6.1]\r\n");
    EXPECT_EQ(U16ToUtf8(s.PostTime), "9時50分");
}

// Without its own race's "ZO-" file a "UO-" file lays out no pairs, whatever
// race was viewed before; an empty "DE-" file is no post time, not a failure.
TEST_F(Detail, QuinellaOddsWithoutWinOddsFileAreNotLaidOut) {
    Report(11, false);
    d.dir.remove("ZO-52B.JRA");
    d.dir.writeBytes("DE-52B.JRA", "");
    EXPECT_NE(Report(11, false).find(" 馬  2- 7   1000 \r\n"), std::string::npos);
    EXPECT_EQ(s.RunnerCount, 0);
    EXPECT_EQ(U16ToUtf8(s.PostTime), "");
}

TEST_F(Detail, BoardRowsOfTheSettledRace) {
    Report(1, false);
    std::string rows;
    for (const BoardRow& r : ResultsBoard(s))
        rows +=
            U16ToUtf8(r.title) + "|" + U16ToUtf8(r.text) + "|" + std::to_string(r.foreColor) + "\n";
    EXPECT_EQ(rows,
              "　単勝　|    3       340|0\n"
              "　複勝　|    3       140|0\n"
              "　馬連　| 3- 8      1870|0\n"
              "　ワイド| 3- 8       625|0\n"
              "　返還　| 12|255\n");
}

TEST(PaidOdds, ShortestDecimal) {
    EXPECT_EQ(U16ToUtf8(PaidOddsText(1230)), "12.3");
    EXPECT_EQ(U16ToUtf8(PaidOddsText(1200)), "12.0");
    EXPECT_EQ(U16ToUtf8(PaidOddsText(1235)), "12.35");
    EXPECT_EQ(U16ToUtf8(PaidOddsText(105)), "1.05");
    EXPECT_EQ(U16ToUtf8(PaidOddsText(0)), "0.0");
}

// The totals of the detail window from the bank table.
struct TotalsCase {
    const char* name;
    int32_t stake, payout;
    int16_t tomorrow, status;
    const char16_t* postTime;
    const char* caption;
    const char* profit;
    bool negative;
    const char* rate;
    bool postTimeShown;
};

class DetailTotals : public ::testing::TestWithParam<TotalsCase> {};

TEST_P(DetailTotals, FromTheBankTable) {
    const TotalsCase& c = GetParam();
    auto s = std::make_unique<AppState>();
    s->MeetingTable(1, 1) = 5;
    s->MeetingTable(1, 2) = 3;
    s->MeetingTable(1, 3) = 8;
    s->DetailRace = 10;
    s->DetailTomorrow = c.tomorrow;
    s->BankTable(0, 10) = c.tomorrow ? 0 : c.stake;
    s->BankTable(3, 10) = c.payout;
    s->BankTable(0, 12) = c.tomorrow ? c.stake : 0;
    s->BankTable(3, 12) = 11;
    s->RaceStatus(5, 11) = c.status;
    s->PostTime = c.postTime;
    const DetailTexts t = ComputeDetailTexts(*s);
    EXPECT_EQ(U16ToUtf8(t.caption), c.caption);
    EXPECT_EQ(U16ToUtf8(t.stake), std::to_string(c.stake));
    EXPECT_EQ(U16ToUtf8(t.payout), c.tomorrow ? "0" : std::to_string(c.payout));
    EXPECT_EQ(U16ToUtf8(t.profit), c.profit);
    EXPECT_EQ(t.profitNegative, c.negative);
    EXPECT_EQ(U16ToUtf8(t.rate), c.rate);
    EXPECT_EQ(t.postTimeShown, c.postTimeShown);
    EXPECT_EQ(DetailHasStake(*s), true);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DetailTotals,
    ::testing::Values(TotalsCase{"Even", 1000, 1000, 0, 5, u"15時40分", "詳細 - 東京 3回 8日 11R",
                                 "0", false, "100", false},
                      TotalsCase{"Gain", 1000, 1234, 0, 5, u"", "詳細 - 東京 3回 8日 11R", "+234",
                                 false, "123.4", false},
                      TotalsCase{"Lost", 700, 0, 0, 5, u"", "詳細 - 東京 3回 8日 11R", "-700", true,
                                 "0", false},
                      TotalsCase{"Open", 300, 0, 0, 3, u"15時40分", "詳細 - 東京 3回 8日 11R",
                                 "-300", true, "0", true},
                      TotalsCase{"OpenWithoutTime", 300, 0, 0, 0, u"", "詳細 - 東京 3回 8日 11R",
                                 "-300", true, "0", false},
                      TotalsCase{"Tomorrow", 500, 0, 1, 0, u"9時50分", "詳細 - 東京 3回 8日 前売",
                                 "-500", true, "0", false}),
    [](const auto& info) { return std::string(info.param.name); });

// A board fed more rows than it has: the first 23 are kept.
TEST(ResultsBoard, NeverMoreThan23Rows) {
    auto s = std::make_unique<AppState>();
    s->MeetingTable(1, 1) = 5;
    s->DetailRace = 0;
    for (int i = 0; i < 30; ++i)
        s->PayoutTable(s->PayoutCount++)
            .assign(Utf8ToU16(i < 25 ? "050120001000150" : "050110005000000"));
    const auto rows = ResultsBoard(*s);
    ASSERT_EQ(rows.size(), 23u);
    EXPECT_EQ(U16ToUtf8(rows[0].title), "　複勝　");
    EXPECT_EQ(U16ToUtf8(rows[22].title), "　　　　");
}

}  // namespace
}  // namespace zb

namespace zb {
namespace {

// The bank table has three meetings; a selection beyond them is failure 9.
TEST(DetailSelection, BeyondTheBankTableIsASubscriptFailure) {
    auto s = std::make_unique<AppState>();
    s->BankTable(3, 0) = 500;  // payout column of meeting 0, not a stake
    s->DetailVenue = 3;
    EXPECT_THROW(DetailHasStake(*s), RunError);
    s->DetailVenue = 0;
    s->DetailRace = 12;  // the tomorrow row is no race of today
    EXPECT_THROW(DetailHasStake(*s), RunError);
}

}  // namespace
}  // namespace zb
