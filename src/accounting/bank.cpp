#include "accounting/bank.h"

#include <algorithm>

#include "accounting/day_figures.h"
#include "readers/quick_text.h"

namespace zb {

namespace {

constexpr int kVenues = 10;

bool IsVenue(int v) {
    return v >= 1 && v <= kVenues;
}

std::u16string VenueName(int v) {
    static const char16_t* const kNames[kVenues] = {u"札幌", u"函館", u"福島", u"新潟", u"東京",
                                                    u"中山", u"中京", u"京都", u"阪神", u"小倉"};
    return IsVenue(v) ? kNames[v - 1] : u"    ";
}

int Panels(const AppState& s) {
    return std::clamp<int>(s.MeetingCount, 0, kBankPanels);
}

// The programme's flags are read only for a positive serial; with any other
// serial no row is hidden, or a negative one would hide every row.
bool HidesRows(const AppState& s) {
    return s.ProgrammeSerial > 0;
}

BankMark ProfitMark(int32_t profit) {
    return profit < 0 ? BankMark::kRed : BankMark::kNone;
}

}  // namespace

void FillBankTable(AppState& s) {
    // Meeting number (1-based) of each venue with a meeting today, 0 for none.
    std::array<int, kVenues + 1> meetingOf{};
    for (int i = 1; i <= Panels(s); ++i) {
        const int v = s.MeetingTable(i, 1);
        if (IsVenue(v)) meetingOf[static_cast<std::size_t>(v)] = i;
    }
    s.BankTable.fill(0);
    s.CurrentProc = "bankdsp";
    // Summed aside, so a failure leaves no partial figures behind.
    Grid<int32_t, 0, 5, 0, kTomorrowRow> t;
    for (int i = 0; i < s.BetCount; ++i) {
        const BetRecord& rec = s.BetLog(i);
        if (QuickStrictI16(rec.mid(15, 2)) != 1) continue;
        const int16_t kind = QuickStrictI16(rec.mid(1, 1));
        if (kind < 1 || kind > 3) continue;
        const int16_t venue = QuickStrictI16(rec.mid(2, 2));
        const int16_t race = QuickStrictI16(rec.mid(4, 2));
        const int32_t units = QuickStrictI32(rec.mid(11, 4));
        // A record the settlement did not reach has a blank result: open.
        const int16_t result = QuickLenientI16(rec.mid(17, 1));
        const int32_t rate = result == 1 ? QuickStrictI32(rec.mid(18, 6)) : result == 3 ? 100 : 0;
        // Only three column pairs exist: other venues and races stay off the chart.
        if (!IsVenue(venue) || race < 1 || race > kBankRaces) continue;
        const int m = meetingOf[static_cast<std::size_t>(venue)] - 1;
        if (m < 0) continue;
        const int32_t stake = Mul(units, int32_t{100});
        if (kind == 2) {
            t(m, kTomorrowRow) = Add(t(m, kTomorrowRow), stake);
            t(m + 3, kTomorrowRow) = race;
        } else {
            t(m, race - 1) = Add(t(m, race - 1), stake);
            t(m + 3, race - 1) = Add(t(m + 3, race - 1), Mul(units, rate));
        }
    }
    s.BankTable = t;
}

std::u16string MeetingTitle(const AppState& s, int meeting) {
    return VenueName(s.MeetingTable(meeting + 1, 1)) + u" " + Dec(s.MeetingTable(meeting + 1, 2)) +
           u"回 " + Dec(s.MeetingTable(meeting + 1, 3)) + u"日";
}

BankChart ComputeBankChart(const AppState& s) {
    BankChart c;
    c.panels = Panels(s);
    for (int i = 0; i < c.panels; ++i) {
        BankMeeting& m = c.meeting[static_cast<std::size_t>(i)];
        const int venue = s.MeetingTable(i + 1, 1);
        m.kaisai = MeetingTitle(s, i);
        // Three panels of alike figures: each name says its venue.
        const std::u16string place(TrimBlanks(VenueName(venue)));
        auto named = [&](std::u16string_view what) {
            return place.empty() ? std::u16string(what) : place + u" " + std::u16string(what);
        };
        int32_t stakeSum = 0, profitSum = 0;
        for (int j = 0; j < kBankRaces; ++j) {
            const auto k = static_cast<std::size_t>(j);
            const int32_t stake = s.BankTable(i, j);
            const int32_t profit = Sub(s.BankTable(i + 3, j), stake);
            m.tohyo[k] = Dec(stake);
            m.soneki[k] = ProfitText(profit);
            // A venue outside the table has no results: its races stay open.
            const bool settled = IsVenue(venue) && s.RaceStatus(venue, j + 1) >= kSettledCount;
            m.sonekiMark[k] = settled ? ProfitMark(profit) : BankMark::kGrey;
            const std::u16string race = Dec(j + 1) + u"R ";
            m.tohyoSpoken[k] = SpokenAmount(named(race + u"投票"), stake);
            // Grey says the race is open; the colour alone would not be heard.
            m.sonekiSpoken[k] = {named(race + u"損益"),
                                 SpokenProfit(profit) + (settled ? u"" : u" 未確定")};
            m.raceShown[k] = !HidesRows(s) || s.RaceFlags(i + 1, j + 1) != 0;
            m.stakeClickable[k] = stake > 0;
            stakeSum = Add(stakeSum, stake);
            profitSum = Add(profitSum, profit);
        }
        const int32_t tomorrow = s.BankTable(i, kTomorrowRow);
        m.maeuri = Dec(tomorrow);
        m.maeuriSpoken = SpokenAmount(named(u"前日 投票"), tomorrow);
        m.tomorrowClickable = tomorrow > 0;
        m.tomorrowShown = !HidesRows(s);
        for (int r = 1; r <= kBankRaces; ++r)
            if (s.RaceFlags(i + 4, r) != 0) m.tomorrowShown = true;
        stakeSum = Add(stakeSum, tomorrow);
        m.tohyokei = Dec(stakeSum);
        m.sonekikei = ProfitText(profitSum);
        m.sonekikeiMark = ProfitMark(profitSum);
        m.tohyokeiSpoken = SpokenAmount(named(u"計 投票"), stakeSum);
        m.sonekikeiSpoken = {named(u"計 損益"), SpokenProfit(profitSum)};
    }
    return c;
}

BankChart bankdsp(AppState& s) {
    FillBankTable(s);
    return ComputeBankChart(s);
}

namespace {

std::u16string MarkText(BankMark m) {
    return m == BankMark::kRed ? u"\tred" : m == BankMark::kGrey ? u"\tgrey" : u"";
}

}  // namespace

std::u16string BankChartText(const BankChart& c) {
    std::u16string t;
    for (int i = 0; i < c.panels; ++i) {
        const BankMeeting& m = c.meeting[static_cast<std::size_t>(i)];
        if (i > 0) t += u"\n";
        t += m.kaisai + u"\n";
        for (std::size_t j = 0; j < kBankRaces; ++j)
            if (m.raceShown[j])
                t += Dec(static_cast<long long>(j) + 1) + u"R\t" + m.tohyo[j] + u"\t" +
                     m.soneki[j] + MarkText(m.sonekiMark[j]) + u"\n";
        if (m.tomorrowShown) t += u"前日\t" + m.maeuri + u"\n";
        t += u"計\t" + m.tohyokei + u"\t" + m.sonekikei + MarkText(m.sonekikeiMark) + u"\n";
    }
    return t;
}

bool SelectRace(AppState& s, int n) {
    s.DetailVenue = Narrow<int16_t>(n / kBankRaces);
    s.DetailRace = Narrow<int16_t>(n % kBankRaces);
    s.DetailTomorrow = 0;
    return s.BankTable(s.DetailVenue, s.DetailRace) != 0;
}

bool SelectTomorrow(AppState& s, int n) {
    s.DetailVenue = Narrow<int16_t>(n);
    s.DetailRace = Narrow<int16_t>(Sub(s.BankTable(n + 3, kTomorrowRow), int32_t{1}));
    s.DetailTomorrow = 1;
    return s.BankTable(n, kTomorrowRow) != 0;
}

}  // namespace zb
