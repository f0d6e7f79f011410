#include "day_harness.h"

#include <cstdlib>
#include <filesystem>

#include "accounting/passbook.h"
#include "accounting/race_detail.h"
#include "fixtures/demo_day.h"
#include "fixtures/pat98_writer.h"
#include "readers/readers.h"
#include "startup/ini.h"
#include "startup/run_error.h"
#include "startup/settings.h"
#include "startup/startup.h"

namespace zb::fuzz {

namespace {

// The demo day, written once per process; every input rewrites one file of it.
struct Day {
    fixture::TempDir tmp;
    fixture::Pat98Dir dir{tmp.path()};
    AppState loaded;  // after start-up read the programme
    AppState passed;  // and after the reading pass

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
    }
};

Day& TheDay() {
    static Day* day = new Day;  // kept to the end: libFuzzer may exit from anywhere
    return *day;
}

void RunPass(AppState& s, Pass pass) {
    switch (pass) {
        case Pass::kRefresh:
            RefreshData(s);
            break;
        case Pass::kLoadAll:
            LoadAll(s);
            break;
        case Pass::kPassbook:
            ReadPassbook(s);
            (void)PassbookFileText(s);
            break;
        case Pass::kDetail:
            // Race 12 at Tokyo is still open, so its odds and post time are read.
            s.DetailVenue = 0;
            s.DetailRace = 11;
            s.DetailTomorrow = 0;
            RaceDetail(s);
            (void)ComputeDetailTexts(s);
            break;
        case Pass::kSettings: {
            LoadSettings(s);
            IniDocument doc = IniDocument::Load(SettingsPath(s));
            doc.put("WINDOW", "Top0", "1");
            (void)doc.text();
            break;
        }
    }
}

}  // namespace

int RunDayFile(const char* name, Pass pass, const uint8_t* data, std::size_t size) {
    Day& day = TheDay();
    day.dir.writeBytes(name, std::string_view(reinterpret_cast<const char*>(data), size));
    // One state for the process: a fresh one per input would cost more than the input.
    static AppState* s = new AppState;
    *s = pass == Pass::kDetail ? day.passed : day.loaded;
    try {
        RunPass(*s, pass);
    } catch (const RunError&) {
        // The program's own failure: shown to the user, not a fault.
    }
    return 0;
}

}  // namespace zb::fuzz
