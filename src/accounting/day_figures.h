#pragma once
// The texts of the main window, computed from the day's totals. The window
// sets them on its labels; the report command prints the same texts.

#include <array>
#include <string>

#include "accounting/spoken.h"
#include "startup/app_state.h"

namespace zb {

struct MainTexts {
    std::u16string caption;                         // "Zubrica98"
    std::array<std::u16string, kLabelCount> label;  // labels 0 to 16, fixed captions included
    std::u16string stakeToolTip;                    // tool tip of label 12; empty for none
    // What a screen reader says for the date (0) and the figures (12 to 16);
    // the other labels are said as they read.
    std::array<Spoken, kLabelCount> spoken;
};

int32_t DayStake(const AppState& s);
int32_t DayProfit(const AppState& s);
int32_t Balance(const AppState& s);
// Return rate in tenths of a percent.
int32_t ReturnRateTenths(const AppState& s);

// The totals as the readers left them.
DayTotals LiveTotals(const AppState& s);
// What the window shows: the live totals, or after a failed pass those of
// the last pass that succeeded.
DayTotals ShownTotals(const AppState& s);

// The pieces of the texts.
std::u16string DateLine(const FixedText<8>& raceDate);  // "2001年5月4日 FRI"
// The date line as said: "2001年5月4日 金曜日".
std::u16string SpokenDateLine(const FixedText<8>& raceDate);
std::u16string StatusLine(const DayTotals& d);
std::u16string StakeToolTip(const DayTotals& d);
std::u16string ProfitText(int32_t profit);  // "+250", "0", "-2300"
std::u16string RateText(int32_t tenths);    // 853 "85.3", 1000 "100"

// Every text of the window, from ShownTotals. An amount that overflows its 32
// bits is failure 6.
MainTexts ComputeMainTexts(const AppState& s);

// The posting step of the redraw: posts the day to the passbook when no stake
// is open and the last reading pass did not fail.
void PostIfSettled(AppState& s);

}  // namespace zb
