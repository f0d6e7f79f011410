#include "accounting/settlement.h"

namespace zb {

void comp(AppState& s) {
    s.CurrentProc = "comp";
    s.TodayBetCount = 0;
    s.PayoutTotal = 0;
    s.OpenStake = 0;
}

}  // namespace zb
