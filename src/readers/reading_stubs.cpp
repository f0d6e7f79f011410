// Readers still to come: each leaves its tables as a missing file would.

#include "readers/pat98_file.h"
#include "readers/readers.h"

namespace zb {

void ReadRaceResults(AppState& s) {
    s.CurrentProc = "Akekka";
    s.RaceStatus.fill(0);
    s.PayoutCount = 0;
}

void ReadPayoutFiles(AppState& s) { s.CurrentProc = "Aharai"; }

void Alog(AppState& s) {
    s.CurrentProc = "Alog";
    s.StakeTotal = 0;
    s.AdvanceStakeNet = 0;
    s.ErrorCode = 0;
    if (!FileExists(JoinPath(s.Pat98Folder, "\\LG-FILE.JRA"))) {
        s.BetCount = 0;
        s.TodayBetCount = 0;
        s.PayoutTotal = 0;
        s.OpenStake = 0;
        s.ErrorCode = 3;
        return;
    }
    s.BetCount = 0;
}

void Blog(AppState& s) { s.CurrentProc = "Blog"; }

}  // namespace zb
