#pragma once
// The start-up's message box and the box of a run-time failure: every layer
// above reports through these.

#include <string>

#include "platform/run_error.h"
#include "startup/app_state.h"

namespace zb {

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
