#pragma once
// The passbook over the years: the day list oldest first, year and month
// totals, the running profit for a chart, and the CSV texts of the report
// command and the passbook window's export.

#include <cstdint>
#include <string>
#include <vector>

#include "accounting/passbook_view.h"
#include "startup/app_state.h"

namespace zb {

// The days of the day list, oldest first (a list out of date order is put in
// order); empty slots are left out.
std::vector<PassbookEntry> HistoryDays(const AppState& s);

struct PeriodTotal {
    std::string period;  // "2026", "2026-01" or "計"
    bool year = false;   // a year's line (the months follow it)
    int64_t days = 0, stake = 0, payout = 0, profit = 0;
};
// Each year with days, oldest first, followed by its months with days; last
// the totals of all days ("計").
std::vector<PeriodTotal> PeriodTotals(const std::vector<PassbookEntry>& days);

// The return rate in percent with one decimal ("81.6"), from the floor of
// payout x 1000 / stake as the main window computes it; empty for no stake.
std::string ReturnRateText(int64_t stake, int64_t payout);

// "日付,投票,払戻,損益" and a line per day: UTF-8, CR LF line ends.
std::string PassbookCsv(const std::vector<PassbookEntry>& days);
// "期間,日数,投票,払戻,損益,回収率" and a line per period.
std::string PassbookTotalsCsv(const std::vector<PeriodTotal>& totals);

// A line of the totals view: the period where the day view has the date.
PassbookRow TotalsRowOf(const PeriodTotal& t);
// Its tool tip: "日数 12   回収率 81.6%" (no rate without stake).
std::u16string TotalsRowTip(const PeriodTotal& t);

// Writes the day list as CSV to a file the user chose, with a UTF-8
// byte-order mark so that a spreadsheet reads the Japanese heads. The file
// is replaced whole. Refused as targets (failure 70 naming the path): the
// passbook, the settings, their backups, the lock file and PAT98's ".JRA"
// files, by name in any folder or as the same file under another name.
void SavePassbookCsv(const AppState& s, const std::string& path);

// The running profit: the sum of the profits up to each day.
std::vector<int64_t> RunningProfit(const std::vector<PassbookEntry>& days);

// Where the chart puts an amount: 0 at the lowest running profit, 1 at the
// highest. When one day's profit dwarfs the usual ones the scale is a signed
// logarithm above `unit` (the usual day's size), so the other days still show.
struct ChartScale {
    int64_t low = 0, high = 0;  // low <= 0 <= high
    double unit = 0;            // 0: a straight scale
    double at(int64_t v) const;
};
ChartScale ChartScaleOf(const std::vector<PassbookEntry>& days);
// The amounts worth a label, most important first: 0, the highest, the
// lowest, then on a compressed scale the powers of ten between them.
std::vector<int64_t> ChartMarks(const ChartScale& scale);

// Which days a chart of the given width in pixels draws: at most one per
// pixel column, the last day of each column, in order.
std::vector<std::size_t> ChartDays(std::size_t dayCount, int width);

// What the chart shows, as said: "2025年1月5日から2026年12月5日まで 120日 累計
// 12340円 最高 20000円 最低 マイナス 5000円"; "記録はありません" for no day.
std::u16string ChartSaid(const std::vector<PassbookEntry>& days);

}  // namespace zb
