#include "accounting/day_figures.h"

#include <chrono>
#include <cmath>
#include <optional>

#include "accounting/passbook.h"

namespace zb {

namespace {

bool AllDigits(std::u16string_view s) {
    if (s.empty()) return false;
    for (char16_t c : s)
        if (c < u'0' || c > u'9') return false;
    return true;
}

int DigitsValue(std::u16string_view s) {
    int v = 0;
    for (char16_t c : s) v = v * 10 + (c - u'0');
    return v;
}

int32_t DayStake(const DayTotals& d) {
    return Sub(d.StakeTotal, d.AdvanceStakeNet);
}
int32_t DayProfit(const DayTotals& d) {
    return Sub(d.PayoutTotal, DayStake(d));
}
int32_t Balance(const DayTotals& d) {
    return Sub(Add(d.AccountBalance, d.PayoutTotal), d.StakeTotal);
}

int32_t ReturnRateTenths(const DayTotals& d) {
    if (d.StakeTotal < 1) return 0;
    double r =
        std::floor(static_cast<double>(d.PayoutTotal) / static_cast<double>(d.StakeTotal) * 1000.0);
    if (!(r >= static_cast<double>(INT32_MIN) && r <= static_cast<double>(INT32_MAX)))
        Fail(kErrOverflow);
    return static_cast<int32_t>(r);
}

}  // namespace

DayTotals LiveTotals(const AppState& s) {
    DayTotals d;
    d.RaceDate = s.RaceDate;
    d.AccountBalance = s.AccountBalance;
    d.StakeTotal = s.StakeTotal;
    d.AdvanceStakeNet = s.AdvanceStakeNet;
    d.PayoutTotal = s.PayoutTotal;
    d.OpenStake = s.OpenStake;
    d.TodayBetCount = s.TodayBetCount;
    return d;
}

DayTotals ShownTotals(const AppState& s) {
    return s.LastPassFailed ? s.ShownDay : LiveTotals(s);
}

int32_t DayStake(const AppState& s) {
    return DayStake(LiveTotals(s));
}
int32_t DayProfit(const AppState& s) {
    return DayProfit(LiveTotals(s));
}
int32_t Balance(const AppState& s) {
    return Balance(LiveTotals(s));
}
int32_t ReturnRateTenths(const AppState& s) {
    return ReturnRateTenths(LiveTotals(s));
}

std::u16string RateText(int32_t tenths) {
    long long t = tenths;
    std::u16string sign = t < 0 ? u"-" : u"";
    if (t < 0) t = -t;
    std::u16string r = sign + Dec(t / 10);
    if (t % 10 != 0) r += u"." + Dec(t % 10);
    return r;
}

std::u16string ProfitText(int32_t profit) {
    return profit >= 1 ? u"+" + Dec(profit) : Dec(profit);
}

namespace {

struct DateParts {
    std::u16string ymd;  // "2001年5月4日"
    unsigned weekday;    // 0 Sunday
};

// No weekday for a date that does not exist.
std::optional<DateParts> DatePartsOf(std::u16string_view d) {
    if (!AllDigits(d)) return std::nullopt;
    using namespace std::chrono;
    int y = DigitsValue(d.substr(0, 4));
    unsigned m = static_cast<unsigned>(DigitsValue(d.substr(4, 2)));
    unsigned dd = static_cast<unsigned>(DigitsValue(d.substr(6, 2)));
    year_month_day ymd{year{y}, month{m}, day{dd}};
    if (y < 1 || !ymd.ok()) return std::nullopt;
    return DateParts{std::u16string(d.substr(0, 4)) + u"年" + Dec(m) + u"月" + Dec(dd) + u"日",
                     weekday{sys_days{ymd}}.c_encoding()};
}

}  // namespace

std::u16string DateLine(const FixedText<8>& raceDate) {
    static const char16_t* const kDayNames[] = {u" SUN", u" MON", u" TUE", u" WED",
                                                u" THU", u" FRI", u" SAT"};
    if (const auto day = DatePartsOf(raceDate.view())) return day->ymd + kDayNames[day->weekday];
    // Shown as the characters stand.
    return std::u16string(TrimBlanks(raceDate.view()));
}

std::u16string SpokenDateLine(const FixedText<8>& raceDate) {
    static const char16_t* const kDayNames[] = {u" 日曜日", u" 月曜日", u" 火曜日", u" 水曜日",
                                                u" 木曜日", u" 金曜日", u" 土曜日"};
    if (const auto day = DatePartsOf(raceDate.view())) return day->ymd + kDayNames[day->weekday];
    return std::u16string(TrimBlanks(raceDate.view()));
}

std::u16string StatusLine(const DayTotals& d) {
    if (d.TodayBetCount == 0) return u"本日は未投票です";
    if (d.OpenStake > 0) return u"あと" + Dec(d.OpenStake) + u"円未確定";
    return u"全投票が確定しました";
}

std::u16string StakeToolTip(const DayTotals& d) {
    if (d.AdvanceStakeNet > 0)
        return u"当日：" + Dec(DayStake(d)) + u"円\u3000前日：" + Dec(d.AdvanceStakeNet) + u"円";
    if (d.AdvanceStakeNet < 0)
        return u"前売にて " + Dec(Sub(int32_t{0}, d.AdvanceStakeNet)) + u"円 投票済み";
    return {};
}

MainTexts ComputeMainTexts(const AppState& s) {
    static const char16_t* const kFixed[] = {u"投票", u"払戻", u"損益", u"回収", u"残高",
                                             u"円",   u"円",   u"円",   u"％",   u"円"};
    const DayTotals d = ShownTotals(s);
    MainTexts t;
    t.caption = u"Zubrica98";
    t.label[0] = DateLine(d.RaceDate);
    t.label[1] = StatusLine(d);
    for (int i = 2; i <= 11; ++i) t.label[static_cast<std::size_t>(i)] = kFixed[i - 2];
    t.label[12] = Dec(d.StakeTotal);
    t.label[13] = Dec(d.PayoutTotal);
    t.stakeToolTip = StakeToolTip(d);
    t.label[14] = ProfitText(DayProfit(d));
    t.label[16] = Dec(Balance(d));
    t.label[15] = RateText(ReturnRateTenths(d));
    t.spoken[0] = {u"日付", SpokenDateLine(d.RaceDate)};
    t.spoken[12] = SpokenAmount(u"投票", d.StakeTotal);
    t.spoken[13] = SpokenAmount(u"払戻", d.PayoutTotal);
    t.spoken[14] = {u"損益", SpokenProfit(DayProfit(d))};
    t.spoken[15] = {u"回収率", SpokenRate(ReturnRateTenths(d))};
    t.spoken[16] = SpokenAmount(u"残高", Balance(d));
    return t;
}

void PostIfSettled(AppState& s) {
    if (s.OpenStake == 0 && !s.LastPassFailed) PostPassbook(s);
}

}  // namespace zb
