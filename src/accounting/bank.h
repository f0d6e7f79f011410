#pragma once
// The daily bank summary: stake and payout per meeting and race in BankTable,
// and every text, colour and visible row of the bank chart. The chart window
// sets them on its labels; the report command prints the same texts.

#include <array>
#include <cstdint>
#include <string>

#include "accounting/spoken.h"
#include "startup/app_state.h"

namespace zb {

constexpr int kBankPanels = 3;           // meetings the chart can show
constexpr int kBankRaces = 12;           // race rows per meeting
constexpr int kTomorrowRow = 12;         // BankTable row of the bets on tomorrow's races
constexpr int32_t kBankRed = 0xFF0000;   // RGB
constexpr int32_t kBankGrey = 0xC0C0C0;  // RGB

// Colour of a profit label: the window text colour, red or light grey.
enum class BankMark { kNone, kRed, kGrey };

struct BankMeeting {
    std::u16string kaisai;                  // "東京 3回 8日"
    std::array<std::u16string, 12> tohyo;   // race stakes
    std::array<std::u16string, 12> soneki;  // race profits, "+" when positive
    std::array<BankMark, 12> sonekiMark{};  // red when negative, grey while open
    std::array<bool, 12> raceShown{};       // the programme flags the race
    std::array<bool, 12> stakeClickable{};  // a stake above 0: hand cursor
    std::u16string maeuri;                  // stake on tomorrow's races
    bool tomorrowShown = true;              // the programme has races tomorrow
    bool tomorrowClickable = false;
    std::u16string tohyokei;   // stake total, tomorrow's stake included
    std::u16string sonekikei;  // profit total, never grey
    BankMark sonekikeiMark = BankMark::kNone;
    // As said: "東京 5R 投票" "1200円", "東京 5R 損益" "マイナス 1200円 未確定".
    std::array<Spoken, 12> tohyoSpoken, sonekiSpoken;
    Spoken maeuriSpoken, tohyokeiSpoken, sonekikeiSpoken;
};

struct BankChart {
    int panels = 0;  // meetings shown, 0 to 3
    std::array<BankMeeting, kBankPanels> meeting;
};

// Rebuilds BankTable from the accepted bets. A bet whose venue has no meeting
// among today's first three, or whose race is not 1 to 12, is left out (the
// main window's totals still count it). An overflowing sum is failure 6 and
// leaves BankTable all 0.
void FillBankTable(AppState& s);

// "東京 3回 8日": the title of meeting row 0..5 (0-based), as the chart's
// kaisai label and the race detail window show it.
std::u16string MeetingTitle(const AppState& s, int meeting);

// The chart's texts from BankTable, RaceStatus and the programme.
BankChart ComputeBankChart(const AppState& s);

// Both, as the chart's opening runs them; CurrentProc becomes "bankdsp".
BankChart bankdsp(AppState& s);

// The chart as text, as the report command prints it: per meeting its title,
// one line per shown race (number, stake, profit, "grey" or "red" when so
// coloured), the tomorrow stake when shown, and the totals; tab-separated.
std::u16string BankChartText(const BankChart& c);

// Outer width of the chart window in twips: one panel per meeting.
constexpr int32_t BankChartWidth(int meetings) {
    return meetings * 2055 + 160;
}

// Click on the stake or profit label n (12 x meeting + race index): sets the
// selection; true when the race has a stake, so its detail opens.
bool SelectRace(AppState& s, int n);
// Click on the tomorrow stake of meeting n: selects the race of the meeting's
// last bet on tomorrow's races; true when there is a stake on tomorrow.
bool SelectTomorrow(AppState& s, int n);

}  // namespace zb
