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
// Payout files "TH-", "FH-", "WH-", "UH-", "KH-".
void ReadPayoutFiles(AppState& s);

}  // namespace zb
