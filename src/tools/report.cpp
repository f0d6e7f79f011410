// zubrica98-report: the program's start-up and reading pass without a window.
// Prints the state as JSON for scripts; never writes a file.

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// After windows.h, whose types it uses.
#include <shellapi.h>
#endif

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "accounting/bank.h"
#include "accounting/bet_list.h"
#include "accounting/day_figures.h"
#include "accounting/passbook_history.h"
#include "accounting/race_detail.h"
#include "archive/analysis.h"
#include "archive/sqlite_db.h"
#include "platform/file_lookup.h"
#include "platform/sjis.h"
#include "program/startup.h"
#include "startup/text.h"
#include "tools/state_json.h"

namespace {

// Every message box becomes one line on standard error: title, tab, text.
class StderrSink : public zb::MessageSink {
  public:
    void critical(const std::string& title, const std::string& text) override {
        std::cerr << title << '\t' << text << '\n';
    }
};

constexpr const char* kUsage =
    "usage: zubrica98-report [--folder DIR]\n"
    "                         [--json | --bank | --list N | --detail M R |\n"
    "                          --detail M --tomorrow | --passbook | --passbook-totals]\n"
    "Runs Zubrica98's start-up and reading pass on the PAT98 folder DIR (default:\n"
    "the current directory) without a window, and writes no file.\n"
    "  --folder DIR  the PAT98 folder\n"
    "  --json        print the application state as one JSON object\n"
    "  --bank        print the bank chart: meeting titles, race lines, totals\n"
    "  --list N      print the bet list of view N (0 all, 1 accepted, 2 undecided,\n"
    "                3 hits), UTF-8 with CR LF line ends\n"
    "  --detail M R  print the race detail of meeting M, race R (from 0)\n"
    "  --detail M --tomorrow\n"
    "                print what a click on meeting M's tomorrow stake (前日)\n"
    "                shows: the race of its last bet on tomorrow; R, if given,\n"
    "                is not used\n"
    "  --passbook    print every day of the passbook, oldest first, as CSV\n"
    "                (date, stake, payout, profit)\n"
    "  --passbook-totals\n"
    "                print the passbook's year and month totals as CSV\n"
    "  --bets [--from yyyy-mm-dd] [--to yyyy-mm-dd]\n"
    "                print the archived bets (Korvane.db) as CSV, oldest first\n"
    "  --analysis KEY [--from yyyy-mm-dd] [--to yyyy-mm-dd] [--type LIST]\n"
    "                [--venue LIST]\n"
    "                print the archived bets grouped by KEY (type, venue, race,\n"
    "                year, month, odds, popularity, stake) as CSV; LIST is\n"
    "                comma-separated codes (bet types 1-5, venues 1-10)\n"
    "  --help        print this text\n"
    "Messages go to standard error as title<TAB>text; exit status 2 when start-up\n"
    "ends the program, 1 on a usage error.\n";

int Usage() {
    std::cerr << kUsage;
    return 1;
}

bool SmallIndex(const std::string& text, int hi, int16_t& out) {
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || *end != '\0' || v < 0 || v > hi) return false;
    out = static_cast<int16_t>(v);
    return true;
}

// The race detail window's texts, then the results board's rows.
int PrintDetail(zb::AppState& s) {
    using zb::U16ToUtf8;
    zb::FillBankTable(s);
    // The chart picks tomorrow's race itself, as its click does.
    if (s.DetailTomorrow == 1) zb::SelectTomorrow(s, s.DetailVenue);
    if (!zb::DetailHasStake(s)) {
        std::cerr << "zubrica98-report: no stake on that race\n";
        return 1;
    }
    zb::RaceDetail(s);
    const zb::DetailTexts t = zb::ComputeDetailTexts(s);
    std::cout << U16ToUtf8(t.caption) << '\n' << U16ToUtf8(s.ReportText);
    std::cout << "投票\t" << U16ToUtf8(t.stake) << "\n払戻\t" << U16ToUtf8(t.payout) << "\n損益\t"
              << U16ToUtf8(t.profit) << "\n回収率\t" << U16ToUtf8(t.rate) << '\n';
    if (t.postTimeShown) std::cout << U16ToUtf8(t.postTime) << '\n';
    if (zb::DetailSettled(s))
        for (const zb::BoardRow& r : zb::ResultsBoard(s))
            std::cout << U16ToUtf8(r.title) << '\t' << U16ToUtf8(r.text) << '\n';
    return 0;
}

// The arguments as UTF-8. Windows gives argv in the ANSI code page, which
// cannot spell every folder name: there they come from the UTF-16 command line.
std::vector<std::string> Arguments(int argc, char** argv) {
#ifdef _WIN32
    int n = 0;
    if (wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &n)) {
        std::vector<std::string> args;
        for (int i = 0; i < n; ++i) {
            const std::wstring_view w(wide[i]);
            args.push_back(zb::U16ToUtf8(std::u16string(w.begin(), w.end())));
        }
        ::LocalFree(wide);
        return args;
    }
#endif
    return std::vector<std::string>(argv, argv + argc);
}

bool IsArchiveMode(const std::vector<std::string>& args) {
    for (std::size_t i = 1; i < args.size(); ++i)
        if (args[i] == "--bets" || args[i] == "--analysis") return true;
    return false;
}

// Start-up on the folder (the current one when none is given), read-only;
// null when the program would not open there (the message has been shown).
std::unique_ptr<zb::AppState> StartOn(std::string folder, const std::vector<std::string>& args,
                                      StderrSink& sink) {
    if (folder.empty()) {
        std::error_code ec;
        const std::u8string here = std::filesystem::current_path(ec).u8string();
        folder.assign(here.begin(), here.end());
    }
    auto separator = [](char c) {
#ifdef _WIN32
        if (c == '\\') return true;
#endif
        return c == '/';
    };
    while (folder.size() > 1 && separator(folder.back())) folder.pop_back();

    auto state = std::make_unique<zb::AppState>();
    state->Messages = &sink;
    state->ReadOnly = true;
    zb::StartPlatform platform;
    platform.currentDir = folder;
    platform.programFolder = zb::ProgramFolder(args.empty() ? "" : args[0].c_str());
    // No screen here: the offscreen platform's 800 x 800 pixels at 96 DPI.
    platform.screenHeight = 12000;
    platform.screenWidth = 12000;
    if (zb::Main(*state, platform)) return state;
    // The box's text names no folder; a script's user needs to know which.
    if (state->ErrorCode == 2)
        std::cerr << "zubrica98-report: " << folder
                  << (zb::FolderExists(folder) ? ": no pat98.exe in this folder\n"
                                               : ": no such folder\n");
    return nullptr;
}

// --bets and --analysis: the archive beside the passbook, opened read-only.
int ArchiveReport(const std::vector<std::string>& args) {
    const int argc = static_cast<int>(args.size());
    std::string folder;
    bool bets = false, folderGiven = false, fromGiven = false, toGiven = false;
    std::optional<zb::AnalysisKey> key;
    zb::AnalysisFilter filter;
    bool typesGiven = false, venuesGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = args[static_cast<std::size_t>(i)];
        const char* v = i + 1 < argc ? args[static_cast<std::size_t>(i) + 1].c_str() : nullptr;
        auto once = [](bool& given) { return !std::exchange(given, true); };
        if (a == "--bets") {
            if (bets) return Usage();
            bets = true;
            continue;
        }
        if (!v) return Usage();
        ++i;
        if (a == "--folder" && once(folderGiven)) {
            folder = v;
        } else if (a == "--analysis" && !key) {
            key = zb::ParseAnalysisKey(v);
            if (!key) return Usage();
        } else if ((a == "--from" && once(fromGiven)) || (a == "--to" && once(toGiven))) {
            const auto d = zb::ParseIsoDate(v);
            if (!d) return Usage();
            (a == "--from" ? filter.from : filter.to) = *d;
        } else if ((a == "--type" && once(typesGiven)) || (a == "--venue" && once(venuesGiven))) {
            const bool types = a == "--type";
            const auto bits = zb::ParseCodeList(v, types ? 5 : 10);
            if (!bits) return Usage();
            (types ? filter.types : filter.venues) = *bits;
        } else {
            return Usage();
        }
    }
    if (bets == key.has_value() || (bets && (typesGiven || venuesGiven))) return Usage();
    StderrSink sink;
    const auto state = StartOn(folder, args, sink);
    if (!state) return 2;
    const std::string path = zb::ArchivePath(*state);
    try {
        std::cout << (bets ? zb::BetsCsv(zb::ReadBets(path, filter.from, filter.to))
                           : zb::AnalysisCsv(zb::Analyse(path, *key, filter)))
                  << std::flush;
    } catch (const zb::SqliteError& e) {
        std::cerr << "zubrica98-report: " << path << ": "
                  << (e.interrupted() ? "a write was interrupted; it is rolled back when Zubrica98 "
                                        "next writes the archive"
                                      : e.what())
                  << '\n';
        return 2;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // The same bytes as on every other system: no CR added before each LF.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    std::string folder;
    bool json = false, bank = false, detail = false, raceGiven = false, book = false,
         totals = false;
    int16_t meeting = 0, race = 0, tomorrow = 0;
    int list = -1;  // the bet list view to print, 0 to 3
    const std::vector<std::string> args = Arguments(argc, argv);
    if (IsArchiveMode(args)) return ArchiveReport(args);
    const std::size_t argCount = args.size();
    std::set<std::string> given;  // an option twice is a mistake, not a choice
    for (std::size_t i = 1; i < argCount; ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) == 0 && !given.insert(a).second) return Usage();
        if (a == "--help") {
            std::cout << kUsage;
            return 0;
        } else if (a == "--json") {
            json = true;
        } else if (a == "--bank") {
            bank = true;
        } else if (a == "--passbook") {
            book = true;
        } else if (a == "--passbook-totals") {
            totals = true;
        } else if (a == "--list" && i + 1 < argCount) {
            const std::string& n = args[++i];
            if (n.size() != 1 || n[0] < '0' || n[0] >= '0' + zb::kListViews) return Usage();
            list = n[0] - '0';
        } else if (a == "--folder" && i + 1 < argCount) {
            folder = args[++i];
        } else if (a == "--detail" && i + 1 < argCount) {
            detail = true;
            if (!SmallIndex(args[++i], 2, meeting)) return Usage();
            if (i + 1 < argCount && args[i + 1].rfind("--", 0) != 0) {
                if (!SmallIndex(args[++i], 11, race)) return Usage();
                raceGiven = true;
            }
        } else if (a == "--tomorrow") {
            tomorrow = 1;
        } else {
            return Usage();
        }
    }
    if ((tomorrow && !detail) || (detail && !tomorrow && !raceGiven) ||
        int(json) + int(bank) + int(detail) + int(list >= 0) + int(book) + int(totals) > 1)
        return Usage();
    StderrSink sink;
    const auto state = StartOn(folder, args, sink);
    if (!state) return 2;
    if (detail) {
        state->DetailVenue = meeting;
        state->DetailRace = race;
        state->DetailTomorrow = tomorrow;
        try {
            return PrintDetail(*state);
        } catch (const zb::RunError& e) {
            zb::ReportRunError(*state, e);
            return 2;
        }
    }
    if (book || totals) {
        // The passbook as start-up read it; CSV text, CR LF line ends. Of a
        // passbook that could not be read, nothing: half a history misleads.
        if (state->PassbookReadFailed) return 2;
        const auto days = zb::HistoryDays(*state);
        std::cout << (book ? zb::PassbookCsv(days) : zb::PassbookTotalsCsv(zb::PeriodTotals(days)))
                  << std::flush;
        return 0;
    }
    if (list >= 0) {
        // Exactly the text the bet list window shows, CR LF line ends kept.
        try {
            state->ListView = static_cast<int16_t>(list);
            zb::listdsp(*state);
        } catch (const zb::RunError& e) {
            zb::ReportRunError(*state, e);
            return 2;
        }
        std::cout << zb::U16ToUtf8(state->ReportText) << std::flush;
    } else if (json) {
        // BankTable as the bank chart's opening builds it; the state's
        // CurrentProc stays what start-up left.
        const std::string proc = state->CurrentProc;
        try {
            zb::FillBankTable(*state);
        } catch (const zb::RunError& e) {
            zb::ReportRunError(*state, e);
        }
        state->CurrentProc = proc;
        std::cout << zb::StateJson(*state) << '\n';
    } else if (bank) {
        try {
            std::cout << zb::U16ToUtf8(zb::BankChartText(zb::bankdsp(*state)));
        } catch (const zb::RunError& e) {
            zb::ReportRunError(*state, e);
            return 2;
        }
    } else {
        std::cout << "RaceDate\t" << zb::Narrow(state->RaceDate.view()) << '\n';
        // The main window's texts as its redraw would set them; nothing is posted.
        try {
            zb::MainTexts t = zb::ComputeMainTexts(*state);
            std::cout << zb::U16ToUtf8(t.caption) << '\n';
            for (const auto& text : t.label) std::cout << zb::U16ToUtf8(text) << '\n';
        } catch (const zb::RunError& e) {
            zb::ReportRunError(*state, e);
            return 2;
        }
    }
    return 0;
}
