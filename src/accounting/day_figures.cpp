#include "accounting/day_figures.h"

#include "accounting/passbook.h"

namespace zb {

int32_t DayStake(const AppState& s) { return Sub(s.StakeTotal, s.AdvanceStakeNet); }
int32_t DayProfit(const AppState& s) { return Sub(s.PayoutTotal, DayStake(s)); }
int32_t Balance(const AppState& s) { return Sub(Add(s.AccountBalance, s.PayoutTotal), s.StakeTotal); }
int32_t ReturnRateTenths(const AppState&) { return 0; }

MainTexts ComputeMainTexts(const AppState&) {
    MainTexts t;
    t.caption = u"Zubrica98";
    return t;
}

void PostIfSettled(AppState& s) {
    if (s.OpenStake == 0 && !s.LastPassFailed) PostPassbook(s);
}

}  // namespace zb
