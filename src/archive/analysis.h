#pragma once
// Where the money goes: the archived bets grouped by bet type, venue, race,
// year, month, odds band, popularity band or stake, with filters. The report
// command prints it; the analysis window shows the same rows.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "accounting/bet_list.h"
#include "archive/archive.h"

namespace zb {

enum class AnalysisKey { kType, kVenue, kRace, kYear, kMonth, kOdds, kPopularity, kStake };
// "type", "venue", "race", "year", "month", "odds", "popularity", "stake".
std::optional<AnalysisKey> ParseAnalysisKey(std::string_view name);

struct AnalysisFilter {
    int32_t from = 0;       // yyyymmdd, inclusive
    int32_t to = 99991231;  // yyyymmdd, inclusive
    uint32_t types = 0;     // bit n for bet type n; 0 all
    uint32_t venues = 0;    // bit n for venue n; 0 all
};

struct AnalysisRow {
    std::string label;  // "単勝", "東京", "2026-01", "計"
    int64_t bets = 0, hits = 0, stake = 0, payout = 0;
};

// The groups with bets in the key's own order, then the total ("計"). A
// missing archive gives the total alone, with zeros.
std::vector<AnalysisRow> Analyse(const std::string& path, AnalysisKey key,
                                 const AnalysisFilter& filter);

// The eight cells of a row as printed: label, bets, hits, hit rate, stake,
// payout, profit, return rate.
std::vector<std::string> AnalysisCells(const AnalysisRow& r);
// The return rate in tenths of a percent; nothing without stake.
std::optional<int64_t> ReturnTenths(const AnalysisRow& r);
// The groups ordered by a column (0 to 7) as a click on its head does; the
// total stays last. Ties keep the key's own order.
void SortAnalysisRows(std::vector<AnalysisRow>& rows, int column, bool descending);
// The first date the archive holds (yyyymmdd), 0 when it holds none.
int32_t ArchiveFirstDate(const std::string& path);
// Writes the rows as CSV with a UTF-8 byte-order mark. The program's own
// files and PAT98's are refused (failure 70).
void SaveAnalysisCsv(const AppState& s, const std::string& path,
                     const std::vector<AnalysisRow>& rows);

// "区分,点数,的中,的中率,投票,払戻,損益,回収率" and a line per row: UTF-8, CR LF.
std::string AnalysisCsv(const std::vector<AnalysisRow>& rows);

// "日付,場,R,券種,組番,金額,結果,払戻,オッズ,人気" and a line per bet, oldest
// first, then by venue, race, bet type and numbers.
std::string BetsCsv(std::vector<ArchivedBet> bets);

// "2026-01-05" as 20260105; nothing for a text that is not a real date.
std::optional<int32_t> ParseIsoDate(std::string_view text);
// "1,3,5" as bits 1, 3 and 5, each number within 1..hi; nothing otherwise.
std::optional<uint32_t> ParseCodeList(std::string_view text, int hi);

}  // namespace zb
