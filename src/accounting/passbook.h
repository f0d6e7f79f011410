#pragma once
// The passbook "Korvane.txt" in HomeFolder: past race days, best and worst days.

#include "startup/app_state.h"

namespace zb {

void ReadPassbook(AppState& s);
void WritePassbook(AppState& s);
// Enters the day's figures; writes the file when anything changed.
void PostPassbook(AppState& s);

}  // namespace zb
