#pragma once
// Start-up and the reading passes: the sequence that drives the readers and
// the accounting, above both.

#include <string>

#include "startup/app_state.h"
#include "startup/messages.h"

namespace zb {

// What the platform tells start-up.
struct StartPlatform {
    std::string currentDir;     // becomes the PAT98 folder
    std::string programFolder;  // the folder of the program file
    int32_t screenHeight = 0;   // twips
    int32_t screenWidth = 0;    // twips
};

// Runs start-up up to the point where the main window opens. False: the
// program ends without a window (its message has been shown).
bool Main(AppState& s, const StartPlatform& platform);
void init(AppState& s);
// Results, payouts, purchase log and settlement, in that order. A run-time
// failure ends the pass through ReportRunError and marks it failed.
void LoadAll(AppState& s);
// The refresh: seed file, programme, then LoadAll. A failure in the first two
// is reported and the last good tables stay; returns false then.
bool RefreshData(AppState& s);

void ComputeDefaultPositions(AppState& s);

}  // namespace zb
