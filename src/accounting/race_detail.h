#pragma once
// One race of the bank chart in detail: the user's bets with current or paid
// odds, the race's totals and post time, and the official payouts board.

#include <array>
#include <string>
#include <vector>

#include "accounting/spoken.h"
#include "startup/app_state.h"

namespace zb {

// The fields of a bet record, read leniently: reports never stop on a code.
struct BetFields {
    int16_t kind = 0, venue = 0, race = 0, type = 0, first = 0, second = 0, accept = 0, result = 0;
    int32_t units = 0, payout = 0;  // payout per 100 yen
};
BetFields ReadBetFields(const BetRecord& rec);

// Reads the odds and post time of the selected race (DetailVenue,
// DetailRace, DetailTomorrow) and builds ReportText.
void RaceDetail(AppState& s);
// The report text alone, from the odds and post time already read.
void BuildDetailReport(AppState& s);

// Venue, day and race in upper-case hexadecimal: "A8C".
std::u16string RaceStem(long venue, long day, long race);
// Payout per 100 yen as odds: 1230 "12.3", 1200 "12.0", 1235 "12.35".
std::u16string PaidOddsText(int32_t payout);

// What the race detail window shows.
struct DetailTexts {
    std::u16string caption;  // "詳細 - " + title
    std::u16string title;    // meeting title + " 1R" or " 前売"
    std::u16string stake, payout, profit, rate;
    bool profitNegative = false;
    std::u16string postTime;  // "発走時刻　9時5分"
    bool postTimeShown = false;
    std::array<Spoken, 4> spoken;  // stake, payout, profit and rate as said
};
// From BankTable, RaceStatus and PostTime for the selected race.
DetailTexts ComputeDetailTexts(const AppState& s);
// The selected race has a stake: the chart opens nothing otherwise.
bool DetailHasStake(const AppState& s);
// The selected race is one of today's and settled: the board opens with it.
bool DetailSettled(const AppState& s);

// One row of the results board. Colours are 0x00BBGGRR.
struct BoardRow {
    std::u16string title, text;
    int32_t backColor = 0xFFFFFF;
    int32_t foreColor = 0;
    Spoken spoken;  // "馬連" "3-7 2210円", "返還" "18番 3番"
};
constexpr int kBoardRows = 23;
constexpr int kBoardVisibleRows = 9;
// The paid combinations of the selected race by bet type, then the refunded
// horses; never more rows than the board has.
std::vector<BoardRow> ResultsBoard(const AppState& s);

}  // namespace zb
