#pragma once
// The PAT98 file readers. Each rebuilds its tables of the state from the files
// in Pat98Folder; a malformed file is a run-time failure.

#include <string>
#include <string_view>

#include "startup/app_state.h"

namespace zb {

// Race programme "UY-A.JRA" to "UY-F.JRA".
void ReadProgramme(AppState& s);
// Seed file "zubrica.txt" in HomeFolder: redirects Pat98Folder.
void ReadFolderRedirect(AppState& s);

// Purchase log "LG-FILE.JRA" and its purchase files.
void Alog(AppState& s);
void Blog(AppState& s);

// Race result files "KS-".
void ReadRaceResults(AppState& s);
// One result file's body (the bytes after the 90-byte header, without the line
// end). ErrorCode 0: entries appended; 1: no result yet, nothing appended.
void ParseRaceResult(AppState& s, int16_t venue, int16_t race, std::string_view body);

// Payout files "TH-", "FH-", "WH-", "UH-", "KH-".
void ReadPayoutFiles(AppState& s);
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
