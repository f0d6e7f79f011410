#pragma once
// The bet list: the day's bets as plain text in one of four views.

#include <string>

#include "startup/app_state.h"

namespace zb {

constexpr int kListViews = 4;  // 0 all, 1 accepted, 2 undecided, 3 hits

// Builds the text of view ListView into ReportText (every line ends with CR
// LF) and counts the accepted bets in view 1. A payout sum beyond 32 bits is
// failure 6; ReportText then keeps its old text.
void listdsp(AppState& s);

// The bet's type and its horses or brackets, "単  5   " or "枠  1-12", with the
// numbers as the caller shows them; empty for a type outside 1 to 5. The bet
// list and the race detail show the same shapes.
std::u16string BetTypeText(int type, const std::u16string& first, const std::u16string& second);

std::string VenueName(int venue);   // "札幌" .. "小倉", else the number
std::string BetTypeName(int type);  // "単勝" .. "ワイド", else the number

// Payout per 100 yen as odds: 1230 "12.3", 1200 "12.0", 1235 "12.35".
std::u16string OddsText(int32_t per100);

}  // namespace zb
