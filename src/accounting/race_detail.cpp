#include "accounting/race_detail.h"

#include <array>
#include <utility>

#include "accounting/bank.h"
#include "accounting/bet_list.h"
#include "accounting/day_figures.h"
#include "readers/pat98_file.h"
#include "readers/payout_slots.h"
#include "readers/readers.h"

namespace zb {

namespace {

constexpr std::u16string_view kNoOdds = u" [   0.0]";

// A blank before a number below 10.
std::u16string TwoWide(long n) {
    return n >= 0 && n < 10 ? u" " + Dec(n) : Dec(n);
}

// Blanks before the text up to n characters; a longer text stays whole.
std::u16string RightAligned(std::u16string_view t, std::size_t n) {
    return t.size() >= n ? std::u16string(t)
                         : std::u16string(n - t.size(), u' ') + std::u16string(t);
}

int16_t Venue(const AppState& s) {
    const int16_t v = s.MeetingTable(s.DetailVenue + 1, 1);
    if (v < 1 || v > 10) Fail(kErrSubscript);
    return v;
}

int16_t RaceNumber(const AppState& s) {
    const int r = s.DetailRace + 1;
    if (r < 1 || r > 12) Fail(kErrSubscript);
    return static_cast<int16_t>(r);
}

// The bank table has stake columns for three meetings only.
int Meeting(const AppState& s) {
    if (s.DetailVenue < 0 || s.DetailVenue > 2) Fail(kErrSubscript);
    return s.DetailVenue;
}

bool InTable(long n, long hi) {
    return n >= 1 && n <= hi;
}

// The current odds of a bet; kNoOdds when its numbers lie outside the tables.
std::u16string OddsText(const AppState& s, int type, long first, long second) {
    switch (type) {
        case 1:
            return InTable(second, 18) ? u" [ " + s.WinOdds(second) + u"]"
                                       : std::u16string(kNoOdds);
        case 2:
            return InTable(second, 18) ? u" [ " + s.PlaceOddsLow(second) + u"]"
                                       : std::u16string(kNoOdds);
        case 3:
            return InTable(first, 8) && InTable(second, 8)
                       ? u" [ " + s.BracketOdds(first, second) + u"]"
                       : std::u16string(kNoOdds);
        case 4:
            return InTable(first, 18) && InTable(second, 18)
                       ? u" [" + s.QuinellaOdds(first, second) + u"]"
                       : std::u16string(kNoOdds);
        case 5:
            return InTable(first, 18) && InTable(second, 18)
                       ? u" [" + s.WideOddsLow(first, second) + u"]"
                       : std::u16string(kNoOdds);
        default:
            return u" [      ]";
    }
}

std::u16string BetText(int type, long first, long second) {
    const std::u16string t = BetTypeText(type, TwoWide(first), TwoWide(second));
    return t.empty() ? u"???     " : t;
}

std::u16string ResultMark(int result) {
    switch (result) {
        case 0:
        case 9:
            return u"";
        case 1:
            return u"○";
        case 2:
            return u"×";
        case 3:
            return u"返";
        default:
            return u"??";
    }
}

void ResetOdds(AppState& s) {
    s.PostTime.clear();
    // A race without a "ZO-" file must not lay out its "UO-" pairs with the
    // runner count of the race viewed before.
    s.RunnerCount = 0;
    for (int h = 1; h <= 18; ++h) {
        s.WinOdds(h) = s.PlaceOddsLow(h) = s.PlaceOddsHigh(h) = u"  0.0";
        for (int k = 1; k <= 18; ++k)
            s.QuinellaOdds(h, k) = s.WideOddsLow(h, k) = s.WideOddsHigh(h, k) = u"   0.0";
    }
    s.BracketOdds.fill(u"  0.0");
}

}  // namespace

BetFields ReadBetFields(const BetRecord& rec) {
    BetFields f;
    f.kind = LenientI16(rec.mid(1, 1));
    f.venue = LenientI16(rec.mid(2, 2));
    f.race = LenientI16(rec.mid(4, 2));
    f.type = LenientI16(rec.mid(6, 1));
    f.first = LenientI16(rec.mid(7, 2));
    f.second = LenientI16(rec.mid(9, 2));
    f.units = LenientI32(rec.mid(11, 4));
    f.accept = LenientI16(rec.mid(15, 2));
    f.result = LenientI16(rec.mid(17, 1));
    f.payout = LenientI32(rec.mid(18, 6));
    return f;
}

std::u16string RaceStem(long venue, long day, long race) {
    return Hex(venue) + Hex(day) + Hex(race);
}

std::u16string PaidOddsText(int32_t payout) {
    const long long p = payout < 0 ? -static_cast<long long>(payout) : payout;
    std::u16string t = payout < 0 ? u"-" : u"";
    t += Dec(p / 100) + u".";
    const long long cents = p % 100;
    if (cents == 0)
        t += u"0";
    else if (cents % 10 == 0)
        t += Dec(cents / 10);
    else
        t += (cents < 10 ? u"0" : u"") + Dec(cents);
    return t;
}

void RaceDetail(AppState& s) {
    ResetOdds(s);
    const int16_t venue = Venue(s);
    const int16_t race = RaceNumber(s);
    const bool tomorrow = s.DetailTomorrow == 1;
    const long day = s.MeetingTable(s.DetailVenue + 1, 3) + (tomorrow ? 1 : 0);
    if (tomorrow || s.RaceStatus(venue, race) < kSettledCount) {
        const std::string stem = Narrow(RaceStem(venue, day, race));
        // "UO-" needs the runner count of "ZO-".
        ReadWinPlaceOdds(s, JoinPath(s.Pat98Folder, "\\ZO-" + stem + ".JRA"));
        ReadQuinellaOdds(s, JoinPath(s.Pat98Folder, "\\UO-" + stem + ".JRA"));
        ReadPostTime(s, JoinPath(s.Pat98Folder, "\\DE-" + stem + ".JRA"));
    }
    BuildDetailReport(s);
}

void BuildDetailReport(AppState& s) {
    const int16_t race = RaceNumber(s);
    const bool tomorrow = s.DetailTomorrow == 1;
    const std::u16string key = RaceKey(Venue(s), race);
    std::u16string text;
    for (int i = 0; i < s.BetCount; ++i) {
        const BetRecord& rec = s.BetLog(i);
        const BetFields f = ReadBetFields(rec);
        if (tomorrow ? f.kind != 2 : f.kind != 1 && f.kind != 3) continue;
        if (rec.mid(2, 4) != key || f.accept != 1) continue;

        std::u16string line = f.kind == 1 || f.kind == 2 ? u" " : f.kind == 3 ? u"*" : u"?";
        line += BetText(f.type, f.first, f.second) + u" ";
        line += RightAligned(Dec(Mul<int32_t>(f.units, 100)), 6) + u" ";
        line += ResultMark(f.result);
        if (f.result == 0 || tomorrow) {
            const std::u16string odds = OddsText(s, f.type, f.first, f.second);
            if (odds != kNoOdds) line += odds;
        }
        if (f.result == 1) line += u" " + RightAligned(PaidOddsText(f.payout), 6);
        text += line + u"\r\n";
    }
    s.ReportText = std::move(text);
}

bool DetailHasStake(const AppState& s) {
    return s.BankTable(Meeting(s), s.DetailTomorrow == 1 ? 12 : RaceNumber(s) - 1) != 0;
}

bool DetailSettled(const AppState& s) {
    return s.DetailTomorrow == 0 && s.RaceStatus(Venue(s), RaceNumber(s)) == kSettledCount;
}

DetailTexts ComputeDetailTexts(const AppState& s) {
    const bool tomorrow = s.DetailTomorrow == 1;
    DetailTexts t;
    t.title = MeetingTitle(s, s.DetailVenue) +
              (tomorrow ? std::u16string(u" 前売") : u" " + Dec(s.DetailRace + 1) + u"R");
    t.caption = u"詳細 - " + t.title;
    const int m = Meeting(s);
    const int row = RaceNumber(s) - 1;
    const int32_t stake = s.BankTable(m, tomorrow ? 12 : row);
    const int32_t payout = tomorrow ? 0 : s.BankTable(m + 3, row);
    const int32_t profit = Sub(payout, stake);
    t.stake = Dec(stake);
    t.payout = Dec(payout);
    t.profit = ProfitText(profit);
    t.profitNegative = profit < 0;
    // Rounded down; the chart never opens a race without a stake.
    long long tenths = 0;
    if (!tomorrow && stake != 0) {
        const long long num = static_cast<long long>(payout) * 1000;
        tenths = num / stake;
        if ((num % stake != 0) && ((num < 0) != (stake < 0))) --tenths;
    }
    t.rate = RateText(Narrow<int32_t>(tenths));
    t.spoken = {SpokenAmount(u"投票", stake), SpokenAmount(u"払戻", payout),
                Spoken{u"損益", SpokenProfit(profit)}, Spoken{u"回収率", SpokenRate(tenths)}};
    t.postTime = u"発走時刻　" + s.PostTime;
    t.postTimeShown =
        !tomorrow && s.RaceStatus(Venue(s), RaceNumber(s)) < kSettledCount && !s.PostTime.empty();
    return t;
}

std::vector<BoardRow> ResultsBoard(const AppState& s) {
    struct TypeLook {
        const char16_t* title;
        const char16_t* name;
        int32_t color;
    };
    static constexpr std::array<TypeLook, 5> kTypes = {{{u"　単勝　", u"単勝", 0xFFC0C0},
                                                        {u"　複勝　", u"複勝", 0xC0C0FF},
                                                        {u"　枠連　", u"枠連", 0xC0FFC0},
                                                        {u"　馬連　", u"馬連", 0xFFC0FF},
                                                        {u"　ワイド", u"ワイド", 0xFFFFC0}}};
    const std::u16string key = TwoDigits(Venue(s)) + TwoDigits(RaceNumber(s));
    std::array<std::vector<std::pair<std::u16string, std::u16string>>, 5> lines;  // shown, said
    std::u16string refunds, refundsSaid;
    for (int i = 0; i < s.PayoutCount; ++i) {
        const PayoutEntry& e = s.PayoutTable(i);
        if (e.mid(1, 4) != key) continue;
        const int t = LenientI16(e.mid(5, 1));
        const long first = LenientI16(e.mid(6, 2));
        const long second = LenientI16(e.mid(8, 2));
        const int32_t amount = LenientI32(e.mid(10, 6));
        if (amount > 0 && t >= 1 && t <= 5) {
            const std::u16string paid = RightAligned(Dec(amount), 10);
            // The padding lines the board up; a reader wants the numbers.
            lines[static_cast<std::size_t>(t - 1)].emplace_back(
                t <= 2 ? RightAligned(Dec(second), 5) + paid
                       : RightAligned(Dec(first), 2) + u"-" + RightAligned(Dec(second), 2) + paid,
                (t <= 2 ? Dec(second) + u"番" : Dec(first) + u"-" + Dec(second)) + u" " +
                    SpokenYen(amount));
        } else if (amount <= 0 && t == 1) {
            refunds += u" " + Dec(second);
            refundsSaid += (refundsSaid.empty() ? u"" : u" ") + Dec(second) + u"番";
        }
    }
    // Rows beyond the board's 23 are left out rather than written past it.
    std::vector<BoardRow> rows;
    for (std::size_t t = 0; t < kTypes.size(); ++t)
        for (std::size_t j = 0; j < lines[t].size() && rows.size() < kBoardRows; ++j)
            rows.push_back({j == 0 ? kTypes[t].title : u"　　　　", lines[t][j].first,
                            kTypes[t].color, 0, Spoken{kTypes[t].name, lines[t][j].second}});
    if (!refunds.empty() && rows.size() < kBoardRows)
        rows.push_back({u"　返還　", refunds, 0xFFFFFF, 255, Spoken{u"返還", refundsSaid}});
    return rows;
}

}  // namespace zb
