#pragma once
// The PAT98 file readers. Each rebuilds its tables of the state from the files
// in Pat98Folder; a malformed file is a run-time failure.

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "startup/app_state.h"

namespace zb {

// The readers below come in two layers: ReadX finds and reads the files,
// ParseX takes their bytes and fills the state. A malformed file is a
// run-time failure in either.

// Race programme "UY-A.JRA" to "UY-F.JRA".
void ReadProgramme(AppState& s);
// The bytes of "UY-A" to "UY-F"; an absent file has none.
using ProgrammeFiles = std::array<std::optional<std::string_view>, 6>;
void ParseProgramme(AppState& s, const ProgrammeFiles& files);
// Seed file "zubrica.txt" in HomeFolder: redirects Pat98Folder. A folder
// that is missing, not a folder or without "UY-A.JRA" is reported through
// Messages and Pat98Folder stays as it was.
void ReadFolderRedirect(AppState& s);
void ParseFolderRedirect(AppState& s, std::string_view bytes);
// The folder the seed file's bytes name (UTF-8), "" when blank.
std::string SeedFolder(std::string_view bytes);
enum class RedirectProblem { kNone, kMissing, kNotFolder, kNoProgramme };
RedirectProblem CheckRedirectFolder(const std::string& folder);
// The message for a refused folder; inUse is the folder read instead.
std::string RedirectProblemText(RedirectProblem p, const std::string& folder,
                                const std::string& inUse);
constexpr const char* kRedirectTitle = "Zubrica98";

// Purchase log "LG-FILE.JRA" and its purchase files.
void Alog(AppState& s);
void Blog(AppState& s);
// The same from the index's bytes; files gives the bytes of the purchase file
// of a name, or nothing when there is no such file.
using PurchaseFiles = std::function<std::optional<std::string>(std::u16string_view name)>;
void ParseAlog(AppState& s, std::string_view index, const PurchaseFiles& files);
void ParseBlog(AppState& s, std::string_view index, const PurchaseFiles& files);
// n records into whole-text order, as std::sort orders them.
void SortRecords(BetRecord* first, std::size_t n);

// Race result files "KS-".
void ReadRaceResults(AppState& s);
// One whole result file of a race: settles the race when it holds a result.
void ParseRaceResultFile(AppState& s, int16_t venue, int16_t race, std::string_view bytes);
// One result file's body (the bytes after the 90-byte header, without the line
// end). ErrorCode 0: entries appended; 1: no result yet, nothing appended.
void ParseRaceResult(AppState& s, int16_t venue, int16_t race, std::string_view body);

// Payout files "TH-", "FH-", "WH-", "UH-", "KH-".
void ReadPayoutFiles(AppState& s);
enum class PayoutFile { kWin, kPlace, kBracket, kQuinella, kWide };  // TH, FH, WH, UH, KH
// One whole payout file of a meeting's venue.
void ParsePayoutFile(AppState& s, PayoutFile kind, int16_t venue, std::string_view bytes);
// One payout file's body of a meeting, filled to the file kind's buffer length.
void ParseWinPayouts(AppState& s, int16_t venue, std::u16string_view buffer);
void ParsePlacePayouts(AppState& s, int16_t venue, std::u16string_view buffer);
void ParseBracketPayouts(AppState& s, int16_t venue, std::u16string_view buffer);
void ParseQuinellaPayouts(AppState& s, int16_t venue, std::u16string_view buffer);
void ParseWidePayouts(AppState& s, int16_t venue, std::u16string_view buffer);

// Odds "ZO-" and "UO-" and post time "DE-" of one race, by full path. A
// missing file leaves the tables as they are. The parsers take the whole file.
void ReadWinPlaceOdds(AppState& s, const std::string& path);
void ReadQuinellaOdds(AppState& s, const std::string& path);
void ReadPostTime(AppState& s, const std::string& path);
void ParseWinPlaceOdds(AppState& s, std::string_view bytes);
void ParseQuinellaOdds(AppState& s, std::string_view bytes);
void ParsePostTime(AppState& s, std::string_view bytes);

// Venue (hexadecimal), year digit and the two meeting numbers of meeting row k,
// as the result and payout file names carry them: "5952" for venue 5 in 2029,
// meetings 5 and 2.
std::string MeetingCode(const AppState& s, int meeting);

}  // namespace zb
