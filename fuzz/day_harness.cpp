#include "day_harness.h"

#include <cstdlib>
#include <map>

#include "accounting/passbook.h"
#include "accounting/race_detail.h"
#include "accounting/settlement.h"
#include "fixtures/demo_day.h"
#include "fixtures/pat98_writer.h"
#include "platform/file_lookup.h"
#include "platform/run_error.h"
#include "platform/sjis.h"
#include "program/startup.h"
#include "startup/ini.h"
#include "startup/settings.h"

namespace zb::fuzz {

namespace {

// The meeting of the day whose payout files the seeds hold, and a race with
// bets on it whose result file they hold.
constexpr int16_t kPayoutVenue = 9;
constexpr int16_t kResultVenue = 5, kResultRace = 1;

// The demo day, written and read once per process.
struct Day {
    fixture::TempDir tmp;
    fixture::Pat98Dir dir{tmp.path()};
    AppState loaded;  // after start-up read the programme
    AppState passed;  // and after the reading pass
    std::string index;
    std::map<std::u16string, std::string, std::less<>> purchases;
    std::string winPlaceOdds;

    Day() {
        fixture::WriteDemoDay(tmp.path());
        loaded.Pat98Folder = tmp.path();
        loaded.HomeFolder = tmp.path();
        loaded.AppFolder = tmp.path() + "\\";
        ReadProgramme(loaded);
        if (loaded.ErrorCode != 0) std::abort();  // the fixture itself is broken
        passed = loaded;
        LoadAll(passed);
        if (passed.LastPassFailed) std::abort();
        index = fixture::ReadAll(dir.file("LG-FILE.JRA"));
        for (const char16_t* name : {u"P0001", u"P0002", u"P0003", u"P0004"})
            purchases[name] = fixture::ReadAll(dir.file(U16ToUtf8(name) + ".JRA"));
        winPlaceOdds = fixture::ReadAll(dir.file("ZO-52C.JRA"));
        // Race 12 at Tokyo is still open: its odds and post time are read.
        passed.DetailVenue = 0;
        passed.DetailRace = 11;
        passed.DetailTomorrow = 0;
    }

    PurchaseFiles dayFiles() const {
        return [this](std::u16string_view name) -> std::optional<std::string> {
            const auto it = purchases.find(name);
            if (it == purchases.end()) return std::nullopt;
            return it->second;
        };
    }
};

Day& TheDay() {
    static Day* day = new Day;  // kept to the end: libFuzzer may exit from anywhere
    return *day;
}

// One state for the process: a fresh one per input would cost more than the
// input. f gets a copy of the day's state.
template <typename F>
int Run(const AppState& from, F&& f) {
    static AppState* s = new AppState;
    *s = from;
    try {
        f(*s);
    } catch (const RunError&) {
        // The program's own failure: shown to the user, not a fault.
    }
    return 0;
}

void Settle(AppState& s) {
    if (s.ErrorCode < 1) comp(s);
}

}  // namespace

int RunProgramme(Input bytes) {
    Day& day = TheDay();
    return Run(day.loaded, [&](AppState& s) {
        ProgrammeFiles files;
        files[0] = bytes;
        ParseProgramme(s, files);
        // The day's files under what the programme made of the meetings.
        LoadAll(s);
    });
}

int RunSeed(Input bytes) {
    return Run(TheDay().loaded, [&](AppState& s) {
        // The folder named, not looked up: random bytes need not touch the disk.
        s.Pat98Folder = SeedFolder(bytes);
        (void)JoinPath(s.Pat98Folder, "\\UY-A.JRA");
    });
}

int RunLogIndex(Input bytes) {
    Day& day = TheDay();
    return Run(day.passed, [&](AppState& s) {
        ParseAlog(s, bytes, day.dayFiles());
        if (s.ErrorCode >= 1) return;
        ParseBlog(s, bytes, day.dayFiles());
        Settle(s);
    });
}

int RunPurchase(Input bytes) {
    Day& day = TheDay();
    const PurchaseFiles files = [&](std::u16string_view) { return std::string(bytes); };
    return Run(day.passed, [&](AppState& s) {
        ParseAlog(s, day.index, files);
        if (s.ErrorCode >= 1) return;
        ParseBlog(s, day.index, files);
        Settle(s);
    });
}

int RunRaceResult(Input bytes) {
    return Run(TheDay().passed, [&](AppState& s) {
        s.RaceStatus(kResultVenue, kResultRace) = 0;
        ParseRaceResultFile(s, kResultVenue, kResultRace, bytes);
        Settle(s);
    });
}

int RunPayout(PayoutFile kind, Input bytes) {
    return Run(TheDay().passed, [&](AppState& s) {
        for (int16_t race = 1; race <= 12; ++race) s.RaceStatus(kPayoutVenue, race) = 0;
        ParsePayoutFile(s, kind, kPayoutVenue, bytes);
        Settle(s);
    });
}

int RunWinPlaceOdds(Input bytes) {
    return Run(TheDay().passed, [&](AppState& s) {
        ParseWinPlaceOdds(s, bytes);
        BuildDetailReport(s);
    });
}

int RunQuinellaOdds(Input bytes) {
    Day& day = TheDay();
    return Run(day.passed, [&](AppState& s) {
        ParseWinPlaceOdds(s, day.winPlaceOdds);
        ParseQuinellaOdds(s, bytes);
        BuildDetailReport(s);
    });
}

int RunPostTime(Input bytes) {
    return Run(TheDay().passed, [&](AppState& s) {
        ParsePostTime(s, bytes);
        (void)ComputeDetailTexts(s);
    });
}

int RunPassbook(Input bytes) {
    return Run(TheDay().loaded, [&](AppState& s) {
        ParsePassbook(s, bytes);
        if (!s.PassbookReadFailed) (void)PassbookFileText(s);
    });
}

int RunSettings(Input bytes) {
    return Run(TheDay().loaded, [&](AppState& s) {
        ParseSettings(s, bytes);
        IniDocument doc = IniDocument::OfFile(bytes);
        doc.put("WINDOW", "Top0", "1");
        (void)doc.text();
    });
}

}  // namespace zb::fuzz
