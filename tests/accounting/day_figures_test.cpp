#include "accounting/day_figures.h"

#include <gtest/gtest.h>

#include <memory>

#include "fixtures/loaded_day.h"
#include "platform/run_error.h"
#include "program/startup.h"

namespace zb {
namespace {

struct DayFigures : ::testing::Test {
    std::unique_ptr<AppState> st = std::make_unique<AppState>();
    AppState& s = *st;
    void SetUp() override {
        s.RaceDate.assign(u"20010504");
        s.AccountBalance = 20000;
    }
};

TEST_F(DayFigures, FixedCaptionsAndDateLine) {
    MainTexts t = ComputeMainTexts(s);
    EXPECT_EQ(t.caption, u"Zubrica98");
    const char16_t* fixed[] = {u"投票", u"払戻", u"損益", u"回収", u"残高",
                               u"円",   u"円",   u"円",   u"％",   u"円"};
    for (int i = 2; i <= 11; ++i)
        EXPECT_EQ(t.label[static_cast<std::size_t>(i)], fixed[i - 2]) << i;
    EXPECT_EQ(t.label[0], u"2001年5月4日 FRI");
}

TEST_F(DayFigures, WeekdaysAndMonthWithoutLeadingZero) {
    EXPECT_EQ(DateLine(FixedText<8>(u"20011118")), u"2001年11月18日 SUN");
    EXPECT_EQ(DateLine(FixedText<8>(u"20011119")), u"2001年11月19日 MON");
    EXPECT_EQ(DateLine(FixedText<8>(u"20000229")), u"2000年2月29日 TUE");
    EXPECT_EQ(DateLine(FixedText<8>(u"20011231")), u"2001年12月31日 MON");
    EXPECT_EQ(DateLine(FixedText<8>(u"20010107")), u"2001年1月7日 SUN");
    EXPECT_EQ(DateLine(FixedText<8>(u"20010106")), u"2001年1月6日 SAT");
}

TEST_F(DayFigures, DateThatDoesNotExistHasNoWeekday) {
    EXPECT_EQ(DateLine(FixedText<8>(u"20010231")), u"20010231");
    EXPECT_EQ(DateLine(FixedText<8>(u"20011301")), u"20011301");
    EXPECT_EQ(DateLine(FixedText<8>(u"00000000")), u"00000000");
    EXPECT_EQ(DateLine(FixedText<8>(u"2001 5 4")), u"2001 5 4");
    EXPECT_EQ(DateLine(FixedText<8>()), u"");
}

TEST_F(DayFigures, NoBet) {
    MainTexts t = ComputeMainTexts(s);
    EXPECT_EQ(t.label[1], u"本日は未投票です");
    EXPECT_EQ(t.label[12], u"0");
    EXPECT_EQ(t.label[13], u"0");
    EXPECT_EQ(t.label[14], u"0");
    EXPECT_EQ(t.label[15], u"0");
    EXPECT_EQ(t.label[16], u"20000");
    EXPECT_EQ(t.stakeToolTip, u"");
}

TEST_F(DayFigures, AllSettledWithProfit) {
    s.TodayBetCount = 3;
    s.StakeTotal = 1000;
    s.PayoutTotal = 1250;
    MainTexts t = ComputeMainTexts(s);
    EXPECT_EQ(t.label[1], u"全投票が確定しました");
    EXPECT_EQ(t.label[12], u"1000");
    EXPECT_EQ(t.label[13], u"1250");
    EXPECT_EQ(t.label[14], u"+250");
    EXPECT_EQ(t.label[15], u"125");
    EXPECT_EQ(t.label[16], u"20250");
}

TEST_F(DayFigures, StakeStillOpen) {
    s.TodayBetCount = 2;
    s.StakeTotal = 1000;
    s.OpenStake = 300;
    s.PayoutTotal = 0;
    MainTexts t = ComputeMainTexts(s);
    EXPECT_EQ(t.label[1], u"あと300円未確定");
    EXPECT_EQ(t.label[14], u"-1000");
    EXPECT_EQ(t.label[16], u"19000");
}

TEST_F(DayFigures, AdvancePurchasesOnly) {
    s.TodayBetCount = 1;
    s.StakeTotal = 0;
    s.AdvanceStakeNet = -1000;
    s.PayoutTotal = 1500;
    MainTexts t = ComputeMainTexts(s);
    EXPECT_EQ(t.label[12], u"0");
    EXPECT_EQ(t.label[15], u"0");
    EXPECT_EQ(t.label[14], u"+500");
    EXPECT_EQ(t.label[16], u"21500");
    EXPECT_EQ(t.stakeToolTip, u"前売にて 1000円 投票済み");
}

TEST_F(DayFigures, ToolTipForms) {
    s.StakeTotal = 1000;
    s.AdvanceStakeNet = 400;
    s.PayoutTotal = 900;
    MainTexts t = ComputeMainTexts(s);
    EXPECT_EQ(t.stakeToolTip, u"当日：600円\u3000前日：400円");
    EXPECT_EQ(t.label[14], u"+300");
    s.AdvanceStakeNet = -500;
    EXPECT_EQ(ComputeMainTexts(s).stakeToolTip, u"前売にて 500円 投票済み");
    s.AdvanceStakeNet = 0;
    EXPECT_EQ(ComputeMainTexts(s).stakeToolTip, u"");
}

TEST_F(DayFigures, ReturnRateIsFlooredTenthsWithoutTrailingZero) {
    s.StakeTotal = 1000;
    s.PayoutTotal = 1000;
    EXPECT_EQ(ReturnRateTenths(s), 1000);
    EXPECT_EQ(ComputeMainTexts(s).label[15], u"100");
    s.StakeTotal = 300;
    s.PayoutTotal = 200;
    EXPECT_EQ(ReturnRateTenths(s), 666);
    EXPECT_EQ(ComputeMainTexts(s).label[15], u"66.6");
    s.StakeTotal = 1000;
    s.PayoutTotal = 853;
    EXPECT_EQ(ComputeMainTexts(s).label[15], u"85.3");
    s.PayoutTotal = 5;
    EXPECT_EQ(ComputeMainTexts(s).label[15], u"0.5");
    s.PayoutTotal = 0;
    EXPECT_EQ(ComputeMainTexts(s).label[15], u"0");
    EXPECT_EQ(RateText(1), u"0.1");
    EXPECT_EQ(RateText(12340), u"1234");
}

TEST_F(DayFigures, ProfitSign) {
    EXPECT_EQ(ProfitText(1), u"+1");
    EXPECT_EQ(ProfitText(0), u"0");
    EXPECT_EQ(ProfitText(-2300), u"-2300");
}

TEST_F(DayFigures, OverflowIsFailureSix) {
    auto number = [&](AppState& x) {
        try {
            ComputeMainTexts(x);
        } catch (const RunError& e) {
            return e.number;
        }
        return 0;
    };
    s.AccountBalance = INT32_MAX;
    s.PayoutTotal = 1;
    EXPECT_EQ(number(s), kErrOverflow);
    s.AccountBalance = 0;
    s.StakeTotal = 1;
    s.PayoutTotal = 100000000;  // a rate of 10^11 tenths
    EXPECT_EQ(number(s), kErrOverflow);
    s.StakeTotal = 0;
    s.PayoutTotal = 0;
    s.AdvanceStakeNet = INT32_MIN;
    EXPECT_EQ(number(s), kErrOverflow);
}

// After a failed pass the window shows the last good pass's figures; when
// the first pass fails, the programme's day and zeros.
TEST(ShownFigures, FailedPassKeepsTheLastGoodFigures) {
    using fixture::Bet;
    const std::vector<Bet> bets = {Bet::Win(5, 1, 2, 1), Bet::Win(5, 1, 4, 1),
                                   Bet::Win(5, 2, 4, 1)};
    fixture::Line badLog = fixture::PurchaseLine("0001", bets);
    badLog.at(23 + 19 + 3, "X");   // a day kind that is a letter
    for (int c = 0; c < 4; ++c) {  // comp 13 or Akekka 62, after a good pass or at start-up
        fixture::LoadedDay d;
        fixture::RaceDay day("20261206");
        day.meeting(5, 5, 2).balance(10000).result(5, 1, fixture::RaceResult().win(4, 1500));
        day.buy("20261206", bets).write(d.dir);
        auto spoil = [&] {
            c % 2 ? d.dir.writeBytes("KS-56521.JRA", "short")
                  : d.dir.writeText("P0001.JRA", badLog);
        };
        if (c >= 2) spoil();
        ASSERT_TRUE(Main(*d.s, StartPlatform{d.tmp.path(), d.tmp.path(), 11520, 15360}));
        if (c < 2) {
            spoil();
            RefreshData(*d.s);
        }
        const MainTexts t = ComputeMainTexts(*d.s);
        std::u16string shown = t.label[0] + u"|" + t.label[1];
        for (int i = 12; i <= 16; ++i) shown += u"|" + t.label[static_cast<std::size_t>(i)];
        EXPECT_EQ(shown, c < 2 ? u"2026年12月6日 SUN|あと100円未確定|300|1500|+1200|500|11200"
                               : u"2026年12月6日 SUN|本日は未投票です|0|0|0|0|0");
        EXPECT_EQ(d.titles(), c % 2 ? "Akekka  62\n" : "comp  13\n");
    }
}

}  // namespace
}  // namespace zb
