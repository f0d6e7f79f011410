#include "program/startup.h"

#include <new>

#include "accounting/day_figures.h"
#include "accounting/passbook.h"
#include "accounting/settlement.h"
#include "platform/folder_index.h"
#include "readers/pat98_file.h"
#include "readers/readers.h"
#include "startup/settings.h"

namespace zb {

void ComputeDefaultPositions(AppState& s) {
    const int32_t h = s.ScreenHeight, w = s.ScreenWidth;
    s.DefaultTop(kSlotBetList) = Sub(Sub(h, 5655), 500);
    s.DefaultLeft(kSlotBetList) = Sub(Sub(w, 4635), 2145);
    s.DefaultTop(kSlotBankChart) = Sub(Sub(h, 4140), 500);
    s.DefaultLeft(kSlotBankChart) = Sub(Sub(w, 6420), 2145);
    s.DefaultTop(kSlotRaceDetail) = Sub(Sub(h, 3855), 500);
    s.DefaultLeft(kSlotRaceDetail) = Sub(Sub(w, 2880), 2145);
    s.DefaultTop(kSlotResultsBoard) = Sub(Sub(h, 4050), 500);
    s.DefaultLeft(kSlotResultsBoard) = Sub(Sub(w, 4050), 2145);
    s.DefaultTop(kSlotMain) = Sub(Sub(h, 2385), 800);
    s.DefaultLeft(kSlotMain) = Sub(w, 1965);
    // Left of the main window, its frame's bottom level with the main
    // window's, so a taskbar does not cover it.
    s.DefaultTop(kSlotAnalysis) = Sub(Sub(h, kAnalysisHeight + kFrameAllowance), 800);
    s.DefaultLeft(kSlotAnalysis) = Sub(Sub(w, kAnalysisWidth), 2145);
}

void init(AppState& s) {
    s.CurrentProc = "init";
    s.ListView = 1;
    s.ErrorCode = 0;
    if (!FileExists(JoinPath(s.Pat98Folder, "\\pat98.exe"))) s.ErrorCode = 2;
}

namespace {

// Runs f; a run-time failure (or running out of memory) is reported and
// returns false.
template <typename F>
bool Guarded(AppState& s, F&& f) {
    try {
        f();
        return true;
    } catch (const RunError& e) {
        ReportRunError(s, e);
    } catch (const std::bad_alloc&) {
        ReportRunError(s, RunError(kErrOutOfMemory, ErrorDescription(kErrOutOfMemory)));
    }
    return false;
}

}  // namespace

bool Main(AppState& s, const StartPlatform& platform) {
    s.CurrentProc = "MAIN";
    std::string folder = platform.programFolder;
    if (folder.empty() || (folder.back() != '\\' && folder.back() != '/')) folder += '\\';
    s.AppFolder = folder;
    bool open = false;
    const ReadingPass pass;
    Guarded(s, [&] {
        LoadSettings(s);
        s.Pat98Folder = s.settings.Debug > 0 ? std::string(kDebugFolder) : platform.currentDir;
        s.HomeFolder = s.Pat98Folder;
        s.ScreenHeight = platform.screenHeight;
        s.ScreenWidth = platform.screenWidth;
        ComputeDefaultPositions(s);
        for (int slot : {0, 1, 2, 3, 5, 6}) {
            if (s.settings.Top(slot) <= 0) s.settings.Top(slot) = s.DefaultTop(slot);
            if (s.settings.Left(slot) <= 0) s.settings.Left(slot) = s.DefaultLeft(slot);
        }
        init(s);
        if (s.ErrorCode > 0) {
            ShowStartError(s);
            return;
        }
        ReadProgramme(s);
        if (s.ErrorCode > 0) {
            ShowStartError(s);
            return;
        }
        ReadPassbook(s);
        // Until a pass succeeds the window shows the programme's day, no figures.
        s.ShownDay = DayTotals{};
        s.ShownDay.RaceDate = s.RaceDate;
        LoadAll(s);
        // Only a missing purchase log is news here: a pass that failed after
        // the results reader left code 1 ("no result yet") has been reported.
        if (s.ErrorCode == 3) ShowStartError(s);
        open = true;
    });
    return open;
}

void LoadAll(AppState& s) {
    const ReadingPass pass;
    s.LoadBusy = 1;
    s.LastPassFailed = true;
    bool ok = Guarded(s, [&] {
        ReadRaceResults(s);
        ReadPayoutFiles(s);
        Alog(s);
        if (s.ErrorCode < 1) {
            Blog(s);
            comp(s);
        }
    });
    s.LastPassFailed = !ok;
    if (ok) s.ShownDay = LiveTotals(s);
    // Cleared on failure too: otherwise one bad file would stop every later refresh.
    s.LoadBusy = 0;
}

bool RefreshData(AppState& s) {
    const ReadingPass pass;
    bool ok = Guarded(s, [&] {
        ReadFolderRedirect(s);
        ReadProgramme(s);
    });
    if (!ok) {
        s.LastPassFailed = true;
        return false;
    }
    LoadAll(s);
    return true;
}

}  // namespace zb
