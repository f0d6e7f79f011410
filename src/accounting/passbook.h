#pragma once
// The passbook "Korvane.txt" in HomeFolder: past race days, best and worst days.

#include <string>
#include <string_view>

#include "startup/app_state.h"

namespace zb {

constexpr int kPassbookLineLength = 33;
constexpr int kPassbookDaySlots = 10;      // Passbook 0..9 always exist
constexpr int kPassbookCreatedLines = 32;  // a new file: ten days and the two lists
// Bounds of a passbook read; beyond either the read is failure 7. A day line
// is 35 bytes, so 100,000 days (centuries of race days) take 3.5 MB.
constexpr int kPassbookMaxDays = 100000;
constexpr std::size_t kPassbookMaxBytes = 8 * 1024 * 1024;

void ReadPassbook(AppState& s);
// The same from the file's bytes, for a file that exists.
void ParsePassbook(AppState& s, std::string_view bytes);
void WritePassbook(AppState& s);
// Enters the day's figures; writes the file when anything changed.
void PostPassbook(AppState& s);

std::string PassbookPath(const AppState& s);
// Whether yyyymmdd is a day of the calendar (years 1 to 9999). A passbook
// line with any other date, or a day listed twice, makes the book
// unreadable; "00000000" marks an empty slot.
bool IsPossibleDate(std::u16string_view yyyymmdd);
// One line without its line end: date 1-8, stake 9-16, payout 17-24, profit
// 25-33. An amount wider than its field is failure 6.
std::string PassbookLine(const PassbookEntry& e);
// The whole file as WritePassbook writes it: at most one empty slot follows
// the last day.
std::string PassbookFileText(const AppState& s);
// A line read back; short lines count as filled with blanks.
PassbookEntry ParsePassbookLine(std::string_view line);

}  // namespace zb
