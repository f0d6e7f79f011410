#pragma once

#include "startup/app_state.h"

namespace zb {

// Settles every bet of BetLog against PayoutTable and totals the day.
void comp(AppState& s);

}  // namespace zb
