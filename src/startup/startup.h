#pragma once
// Start-up, the reading pass and the two message boxes.

#include <string>

#include "startup/app_state.h"
#include "startup/run_error.h"

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
void ShowStartError(AppState& s);
void ReportRunError(AppState& s, const RunError& e);

// The text ShowStartError shows for a code.
std::string StartErrorText(int code);
// A second copy whose request to come forward did not reach the running copy:
// the lock file it wrote to on a line of its own.
std::string HandOverFailedText(const std::string& lockPath);
constexpr const char* kProductName = "Zubrica98";
constexpr const char* kDebugFolder = "c:\\program files\\pat98";

}  // namespace zb
