#include <gtest/gtest.h>

#include <filesystem>

#include "accounting/day_figures.h"
#include "accounting/passbook.h"
#include "accounting/passbook_test_util.h"

namespace zb {
namespace {

using test::BookFolder;
using test::Empty;
using test::Entry;

struct Posting : ::testing::Test, BookFolder {
    void SetUp() override {
        ReadPassbook(s);  // a fresh book: ten empty slots and the open slot
        std::filesystem::remove(path());
    }
    // Today's figures: stake on the day's own races, payout back.
    void Day(std::u16string_view date, int32_t stake, int32_t payout, int32_t advance = 0) {
        s.RaceDate.assign(date);
        s.StakeTotal = stake + advance;
        s.AdvanceStakeNet = advance;
        s.PayoutTotal = payout;
    }
    bool written() const { return std::filesystem::exists(path()); }
    void forgetFile() const { std::filesystem::remove(path()); }
    // Ten real days, 20010410 (newest, index 0) down to 20010401, and the open slot.
    void FullBook() {
        s.Passbook.clear();
        for (int d = 10; d >= 1; --d)
            s.Passbook.push_back(Entry(u"200104" + TwoDigits(d), 1000, 0, -1000));
        s.Passbook.push_back(Empty());
        s.PassbookCount = 10;
    }
};

TEST_F(Posting, FirstDayIntoAnEmptyBook) {
    Day(u"20010504", 1000, 1250);
    PostPassbook(s);
    ASSERT_EQ(s.Passbook.size(), 11u);
    EXPECT_EQ(s.PassbookCount, 10);
    EXPECT_EQ(s.Passbook[0], Entry(u"20010504", 1000, 1250, 250));
    for (std::size_t i = 1; i <= 10; ++i) EXPECT_EQ(s.Passbook[i], Empty()) << i;
    EXPECT_EQ(s.BestDays(0), Entry(u"20010504", 1000, 1250, 250));
    EXPECT_EQ(s.BestDays(1), Empty());
    EXPECT_EQ(s.WorstDays(0), Empty());
    ASSERT_TRUE(written());
    auto lines = fileLines();
    ASSERT_EQ(lines.size(), 33u);
    EXPECT_EQ(lines[0],
              "20010504"
              "1000    "
              "1250    "
              "250      ");
    EXPECT_EQ(lines[10], lines[0]);
    EXPECT_TRUE(sink.seen.empty());
}

TEST_F(Posting, NewerDayIntoAFullBookGrowsTheTable) {
    FullBook();
    Day(u"20010505", 2000, 500);
    PostPassbook(s);
    ASSERT_EQ(s.Passbook.size(), 12u);
    EXPECT_EQ(s.PassbookCount, 11);
    EXPECT_EQ(s.Passbook[0], Entry(u"20010505", 2000, 500, -1500));
    for (int d = 10; d >= 1; --d)
        EXPECT_EQ(s.Passbook[static_cast<std::size_t>(11 - d)].date.str(),
                  u"200104" + TwoDigits(d));
    EXPECT_EQ(s.Passbook[11], Empty());
    EXPECT_EQ(s.WorstDays(0), Entry(u"20010505", 2000, 500, -1500));
    EXPECT_EQ(fileLines().size(), 34u);
}

TEST_F(Posting, FullBookReadFromAThirtyLineFileStillLosesNoDay) {
    FullBook();
    s.Passbook.pop_back();  // no open slot after such a read
    s.PassbookCount = 9;
    Day(u"20010505", 2000, 500);
    PostPassbook(s);
    ASSERT_EQ(s.Passbook.size(), 11u);
    EXPECT_EQ(s.PassbookCount, 10);
    EXPECT_EQ(s.Passbook[0].date.str(), u"20010505");
    EXPECT_EQ(s.Passbook[10].date.str(), u"20010401");
}

TEST_F(Posting, OlderDayGoesBeforeTheFirstOlderOrEmptySlot) {
    s.Passbook[0] = Entry(u"20010510", 100, 0, -100);
    s.Passbook[1] = Entry(u"20010505", 100, 0, -100);
    s.Passbook[2] = Entry(u"20010501", 100, 0, -100);
    Day(u"20010503", 300, 300);
    PostPassbook(s);
    EXPECT_EQ(s.Passbook[2], Entry(u"20010503", 300, 300, 0));
    EXPECT_EQ(s.Passbook[3].date.str(), u"20010501");
    Day(u"20010401", 300, 300);
    PostPassbook(s);  // posts into the file the first posting wrote, read again
    EXPECT_EQ(s.Passbook[4].date.str(), u"20010401");
    EXPECT_EQ(s.Passbook.size(), 12u);
    EXPECT_EQ(s.PassbookCount, 11);
}

TEST_F(Posting, DayOlderThanAFullBookWithoutOpenSlotIsNotEntered) {
    FullBook();
    s.Passbook.pop_back();
    s.PassbookCount = 9;
    auto before = s.Passbook;
    Day(u"20010301", 1000, 1000);  // profit 0: in neither list
    PostPassbook(s);
    EXPECT_EQ(s.Passbook, before);
    EXPECT_FALSE(written());
}

TEST_F(Posting, SameFiguresTwice) {
    Day(u"20010504", 1000, 1250);
    PostPassbook(s);
    const std::string first = fileText();
    auto book = s.Passbook;
    forgetFile();
    PostPassbook(s);
    EXPECT_EQ(s.Passbook, book);
    EXPECT_EQ(s.BestDays(0), Entry(u"20010504", 1000, 1250, 250));
    EXPECT_EQ(s.BestDays(1), Empty());
    ASSERT_TRUE(written());  // the best list was rewritten
    EXPECT_EQ(fileText(), first);
}

TEST_F(Posting, ProfitZeroLeavesBothListsAndIsRewrittenOnlyOnce) {
    Day(u"20010504", 1000, 1250);
    PostPassbook(s);
    Day(u"20010504", 1000, 1000);
    forgetFile();
    PostPassbook(s);
    EXPECT_EQ(s.BestDays(0), Empty());
    EXPECT_EQ(s.WorstDays(0), Empty());
    EXPECT_EQ(s.Passbook[0], Entry(u"20010504", 1000, 1000, 0));  // a corrected payout
    EXPECT_TRUE(written());
    forgetFile();
    PostPassbook(s);
    EXPECT_FALSE(written());  // listed nowhere, nothing changed
}

TEST_F(Posting, TiesInAFullBestListPutTodayFirst) {
    for (int k = 0; k <= 10; ++k)
        s.BestDays(k) = Entry(u"200104" + TwoDigits(k + 1), 500, 1000, 500);
    Day(u"20010504", 500, 1000);
    PostPassbook(s);
    EXPECT_EQ(s.BestDays(0), Entry(u"20010504", 500, 1000, 500));
    for (int k = 1; k <= 10; ++k)
        EXPECT_EQ(s.BestDays(k).date.str(), u"200104" + TwoDigits(k)) << k;
}

TEST_F(Posting, TiesAndOrderInTheWorstList) {
    s.WorstDays(0) = Entry(u"20010401", 3000, 0, -3000);
    s.WorstDays(1) = Entry(u"20010402", 1000, 0, -1000);
    Day(u"20010504", 1000, 0);
    PostPassbook(s);
    EXPECT_EQ(s.WorstDays(0).date.str(), u"20010401");
    EXPECT_EQ(s.WorstDays(1).date.str(), u"20010504");
    EXPECT_EQ(s.WorstDays(2).date.str(), u"20010402");
    EXPECT_EQ(s.WorstDays(3), Empty());
    EXPECT_EQ(s.BestDays(0), Empty());
}

TEST_F(Posting, GrownStakeReplacesTheEntryAndMovesBetweenLists) {
    Day(u"20010504", 1000, 1250);
    PostPassbook(s);
    Day(u"20010504", 1500, 1250);
    PostPassbook(s);
    EXPECT_EQ(s.Passbook[0], Entry(u"20010504", 1500, 1250, -250));
    EXPECT_EQ(s.Passbook[1], Empty());
    EXPECT_EQ(s.BestDays(0), Empty());
    EXPECT_EQ(s.WorstDays(0), Entry(u"20010504", 1500, 1250, -250));
    EXPECT_EQ(s.WorstDays(1), Empty());
}

// The day list and the two lists always show the same figures for a day.
TEST_F(Posting, ChangedFiguresReplaceTheEntryAsTheListsDo) {
    Day(u"20010504", 1500, 1000);
    PostPassbook(s);
    Day(u"20010504", 1000, 1200);
    PostPassbook(s);
    EXPECT_EQ(s.Passbook[0], Entry(u"20010504", 1000, 1200, 200));
    EXPECT_EQ(s.WorstDays(0), Empty());
    EXPECT_EQ(s.BestDays(0), Entry(u"20010504", 1000, 1200, 200));
}

TEST_F(Posting, AdvanceStakeIsNotTheDaysStake) {
    Day(u"20010504", 600, 900, 400);
    PostPassbook(s);
    EXPECT_EQ(s.Passbook[0], Entry(u"20010504", 600, 900, 300));
}

TEST_F(Posting, DayWithoutStakeOfItsOwnPostsNothing) {
    s.Passbook[0] = Entry(u"20010504", 100, 0, -100);
    s.BestDays(0) = Entry(u"20010504", 100, 200, 100);
    Day(u"20010504", 0, 1500, 1000);
    PostPassbook(s);
    EXPECT_EQ(s.Passbook[0], Entry(u"20010504", 100, 0, -100));
    EXPECT_EQ(s.BestDays(0), Entry(u"20010504", 100, 200, 100));
    EXPECT_FALSE(written());
}

TEST_F(Posting, TooWideStakeKeepsTheOldFile) {
    Day(u"20010504", 1000, 1250);
    PostPassbook(s);
    const std::string before = fileText();
    Day(u"20010504", 123456789, 0);
    PostPassbook(s);
    ASSERT_EQ(sink.seen.size(), 1u);
    EXPECT_EQ(sink.seen[0].first, "MAIN  6");
    EXPECT_EQ(fileText(), before);
    EXPECT_EQ(s.PassbookBusy, 0);
}

TEST_F(Posting, PostedOnlyWhenSettledAndThePassSucceeded) {
    Day(u"20010504", 1000, 1250);
    s.OpenStake = 300;
    PostIfSettled(s);
    EXPECT_EQ(s.Passbook[0], Empty());
    s.OpenStake = 0;
    s.LastPassFailed = true;
    PostIfSettled(s);
    EXPECT_EQ(s.Passbook[0], Empty());
    EXPECT_FALSE(written());
    s.LastPassFailed = false;
    PostIfSettled(s);
    EXPECT_EQ(s.Passbook[0].date.str(), u"20010504");
    EXPECT_TRUE(written());
}

}  // namespace
}  // namespace zb
