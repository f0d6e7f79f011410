#pragma once
// The texts of the passbook window: ten days a page, best and worst days,
// and the totals of all days.

#include <array>
#include <string>

#include "accounting/spoken.h"
#include "startup/app_state.h"

namespace zb {

constexpr int kPassbookRows = 10;

struct PassbookRow {
    std::u16string date, stake, payout, profit;  // all empty for an empty slot
    bool negative = false;                       // profit below 0: shown in red
    bool filled = false;
    // Date, stake, payout and profit as said: {"日付", "2026年12月5日"},
    // {"2026年12月5日 損益", "マイナス 3400円"}; empty for an empty slot.
    std::array<Spoken, 4> spoken;
};
// The spoken cells of a row: `head` names the first column ("日付", "期間").
std::array<Spoken, 4> SpokenRow(std::u16string_view head, std::u16string_view shown, int64_t stake,
                                int64_t payout, int64_t profit);
using PassbookRows = std::array<PassbookRow, kPassbookRows>;

// "00000000" marks an empty slot; a slot never read has a blank date.
bool IsEmptyDay(const PassbookEntry& e);
// 20001231 as "2000/12/31", the amounts as plain numbers.
PassbookRow PassbookRowOf(const PassbookEntry& e);

// The last page of the day view: (PassbookCount - 1) / 10, toward zero.
int32_t PassbookLastPage(const AppState& s);
// Rows of a page of Passbook; indexes beyond its end give empty rows.
PassbookRows PassbookPage(const AppState& s, int32_t page);
PassbookRows BestDayRows(const AppState& s);
PassbookRows WorstDayRows(const AppState& s);

// "投票 1,200   払戻 950   損益 -250"
std::u16string PassbookTotalsText(const AppState& s);
// The same as said: "投票 1200円 払戻 950円 損益 マイナス 250円".
std::u16string PassbookTotalsSaid(const AppState& s);
// Thousands separated by commas: -1234567 "-1,234,567".
std::u16string Grouped(int64_t v);

}  // namespace zb
