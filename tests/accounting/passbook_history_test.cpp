// The passbook's history: CSV days oldest first, year and month totals, the
// return rate, and which days a chart draws.

#include "accounting/passbook_history.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "accounting/passbook_test_util.h"
#include "fixtures/failure_of.h"

namespace zb {
namespace {

using test::Entry;

// A day list as the store keeps it: newest first, then empty slots.
AppState Book(std::vector<PassbookEntry> days) {
    AppState s;
    while (days.size() < 11) days.push_back(test::Empty());
    s.Passbook = days;
    s.PassbookCount = static_cast<int32_t>(days.size()) - 1;
    return s;
}

TEST(PassbookHistory, CsvAndTotalsOfSmallBooks) {
    struct Case {
        const char* name;
        std::vector<PassbookEntry> days;
        std::string csv, totals;
    };
    const Case cases[] = {
        {"Empty",
         {},
         "日付,投票,払戻,損益\r\n",
         "期間,日数,投票,払戻,損益,回収率\r\n計,0,0,0,0,\r\n"},
        {"OneDay",
         {Entry(u"20261206", 1000, 816, -184)},
         "日付,投票,払戻,損益\r\n2026-12-06,1000,816,-184\r\n",
         "期間,日数,投票,払戻,損益,回収率\r\n2026,1,1000,816,-184,81.6\r\n"
         "2026-12,1,1000,816,-184,81.6\r\n計,1,1000,816,-184,81.6\r\n"},
        // Out of order, a blank slot and a zero-stake year across the year end.
        {"YearEnds",
         {Entry(u"20260104", 300, 0, -300), Entry(u"20251228", 0, 0, 0), test::Empty(),
          Entry(u"", 0, 0, 0), Entry(u"20241229", 700, 1000, 300),
          Entry(u"20241201", 300, 1, -299)},
         "日付,投票,払戻,損益\r\n2024-12-01,300,1,-299\r\n2024-12-29,700,1000,300\r\n"
         "2025-12-28,0,0,0\r\n2026-01-04,300,0,-300\r\n",
         "期間,日数,投票,払戻,損益,回収率\r\n2024,2,1000,1001,1,100.1\r\n"
         "2024-12,2,1000,1001,1,100.1\r\n2025,1,0,0,0,\r\n2025-12,1,0,0,0,\r\n"
         "2026,1,300,0,-300,0.0\r\n2026-01,1,300,0,-300,0.0\r\n計,4,1300,1001,-299,77.0\r\n"},
    };
    for (const Case& c : cases) {
        const AppState s = Book(c.days);
        const auto days = HistoryDays(s);
        EXPECT_EQ(PassbookCsv(days), c.csv) << c.name;
        EXPECT_EQ(PassbookTotalsCsv(PeriodTotals(days)), c.totals) << c.name;
    }
}

TEST(PassbookHistory, HundredsOfDaysSumInSixtyFourBits) {
    std::vector<PassbookEntry> days;
    for (int y = 2030; y >= 2001; --y)
        for (int d = 28; d >= 1; d -= 3) {
            const std::string date =
                std::to_string(y) + "06" + (d < 10 ? "0" : "") + std::to_string(d);
            days.push_back(Entry(std::u16string(date.begin(), date.end()), 99999999, 0, -99999999));
        }
    const auto totals = PeriodTotals(HistoryDays(Book(days)));
    ASSERT_EQ(totals.size(), 61u);
    EXPECT_EQ(totals.front().period, "2001");
    EXPECT_EQ(totals[1].period, "2001-06");
    EXPECT_EQ(totals.back().days, 300);
    EXPECT_EQ(totals.back().stake, 29999999700LL);
    EXPECT_EQ(totals.back().profit, -29999999700LL);
    EXPECT_EQ(ReturnRateText(totals.back().stake, totals.back().payout), "0.0");
}

TEST(PassbookHistory, ReturnRateIsFloored) {
    const struct {
        int64_t stake, payout;
        const char* text;
    } cases[] = {{1000, 816, "81.6"}, {3, 1, "33.3"},         {3, 2, "66.6"},  {0, 500, ""},
                 {1, 0, "0.0"},       {7, 29999, "428557.1"}, {-3, 1, "-33.4"}};
    for (const auto& c : cases) EXPECT_EQ(ReturnRateText(c.stake, c.payout), c.text) << c.stake;
}

// The program's own files, their backups and PAT98's data are never
// overwritten by an export, however the name is spelled.
TEST(PassbookHistory, CsvIsNotSavedOverFilesOfTheProgramOrPat98) {
    test::BookFolder f;
    const std::string home = f.tmp.path() + "/";
    f.s.Pat98Folder = f.tmp.path();
    f.s.AppFolder = home;
    f.dir.writeBytes("Zubrica98.ini", "kept");
    std::vector<std::string> refused = {"korvane.TXT",      "Korvane.txt.bak",   "ZUBRICA98.LOCK",
                                        "Zubrica98.lock. ", "zubrica98.ini.BAK", "KS-56521.JRA",
                                        "sub/../uy-a.jra"};
#ifndef _WIN32
    std::filesystem::create_symlink("Zubrica98.ini", home + "settings.csv");
    refused.push_back("settings.csv");
#endif
    for (const std::string& p : refused)
        EXPECT_EQ(test::FailureOf([&] { SavePassbookCsv(f.s, home + p); }), kErrPermission) << p;
    EXPECT_EQ(fixture::ReadAll(home + "Zubrica98.ini"), "kept");
    for (const char* ok : {"Korvane.csv", "JRA.csv", "Zubrica98.lock.csv"})
        EXPECT_EQ(test::FailureOf([&] { SavePassbookCsv(f.s, home + ok); }), 0) << ok;
}

TEST(PassbookHistory, ChartDrawsAtMostOneDayPerColumn) {
    EXPECT_EQ(ChartDays(0, 100), std::vector<std::size_t>{});
    EXPECT_EQ(ChartDays(3, 100), (std::vector<std::size_t>{0, 1, 2}));
    EXPECT_EQ(ChartDays(10, 4), (std::vector<std::size_t>{1, 4, 6, 9}));
    EXPECT_EQ(ChartDays(100000, 300).size(), 300u);
    EXPECT_EQ(ChartDays(100000, 300).back(), 99999u);
    const std::vector<PassbookEntry> days = {Entry(u"20260101", 100, 0, -100),
                                             Entry(u"20260102", 100, 400, 300),
                                             Entry(u"20260103", 100, 0, -100)};
    EXPECT_EQ(RunningProfit(days), (std::vector<int64_t>{-100, 200, 100}));
}

// One day a hundred times the usual compresses the scale; ordinary days, or a
// single day, keep it straight. Sums past 32 bits are exact, past 64 refused.
TEST(PassbookHistory, ChartScaleAndWideSums) {
    const struct {
        std::vector<int32_t> profits;
        double unit;
        std::vector<int64_t> marks;
    } cases[] = {
        {{300, -500, 200}, 0, {0, 300, -200}},
        {{-99999999}, 0, {0, -99999999}},
        {{1000, -1000, 1000, -1000, -100000000},
         100,
         {0, 1000, -100000000, -10000000, -1000000, -100000, -10000, -1000, 100, -100}},
    };
    for (const auto& c : cases) {
        std::vector<PassbookEntry> days;
        for (int32_t p : c.profits) days.push_back(Entry(u"20260101", 0, 0, p));
        const ChartScale scale = ChartScaleOf(days);
        EXPECT_EQ(scale.unit, c.unit) << c.profits.size();
        EXPECT_EQ(ChartMarks(scale), c.marks) << c.profits.size();
        EXPECT_EQ(scale.at(scale.low) + scale.at(scale.high), 1.0);
        // Compressed, a 1000-yen day still spans a tenth of the height.
        EXPECT_GT(c.unit > 0 ? scale.at(1000) - scale.at(0) : 1.0, 0.1);
    }
    std::vector<PassbookEntry> days(3, Entry(u"20260101", 0, 0, INT32_MAX));
    EXPECT_EQ(RunningProfit(days).back(), 3LL * INT32_MAX);
    EXPECT_THROW(ReturnRateText(1, INT64_MAX / 100), RunError);
}

}  // namespace
}  // namespace zb
