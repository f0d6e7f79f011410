#pragma once
// The 16 x 16 toolbar pictures of every window, drawn here rather than
// shipped as files.

#include <QIcon>

namespace zb {

enum class ToolbarPicture {
    // FMmain
    kRefresh,
    kBankChart,
    kBetList,
    kPassbook,
    // FMlist: the four views
    kAllBets,
    kAcceptedBets,
    kUndecidedBets,
    kHitBets,
    // FmKei: days, best and worst
    kDays,
    kBestDays,
    kWorstDays,
    // FmKei: the history
    kProfitCurve,
    kPeriodTotals,
    kSave,
};

QIcon ToolbarIcon(ToolbarPicture picture);

}  // namespace zb
