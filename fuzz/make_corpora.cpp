// make_corpora OUT: seed corpora for the fuzz targets, one folder per target,
// written with the fixture writer: the demo day's files, each also cut short,
// and a passbook and settings file as the program writes them.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "accounting/passbook.h"
#include "fixtures/demo_day.h"
#include "fixtures/pat98_writer.h"
#include "startup/settings.h"

namespace fs = std::filesystem;
using namespace zb;

namespace {

void Put(const fs::path& folder, const std::string& name, const std::string& bytes) {
    fs::create_directories(folder);
    std::ofstream(folder / name, std::ios::binary) << bytes;
}

// The whole file, and cut short as PAT98 leaves it while writing.
void Seeds(const fs::path& folder, const std::string& stem, const std::string& bytes) {
    Put(folder, stem, bytes);
    Put(folder, stem + "-half", bytes.substr(0, bytes.size() / 2));
    Put(folder, stem + "-no-line-end", bytes.substr(0, bytes.size() >= 2 ? bytes.size() - 2 : 0));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_corpora OUT\n";
        return 1;
    }
    const fs::path out = argv[1];
    fixture::TempDir tmp;
    fixture::WriteDemoDay(tmp.path());
    const fixture::Pat98Dir day(tmp.path());
    auto file = [&](const std::string& name) { return fixture::ReadAll(day.file(name)); };

    const std::vector<std::pair<std::string, std::vector<std::string>>> families = {
        {"programme", {"UY-A.JRA", "UY-B.JRA", "UY-C.JRA"}},
        {"log_index", {"LG-FILE.JRA"}},
        {"purchase", {"P0001.JRA", "P0002.JRA", "P0003.JRA", "P0004.JRA"}},
        {"race_result", {"KS-56521.JRA", "KS-56525.JRA", "KS-5652B.JRA", "KS-76324.JRA"}},
        {"payout_th", {"TH-9652.JRA"}},
        {"payout_fh", {"FH-9652.JRA"}},
        {"payout_wh", {"WH-9652.JRA"}},
        {"payout_uh", {"UH-9652.JRA"}},
        {"payout_kh", {"KH-9652.JRA"}},
        {"odds_zo", {"ZO-52C.JRA", "ZO-531.JRA", "ZO-728.JRA"}},
        {"odds_uo", {"UO-52C.JRA", "UO-531.JRA", "UO-728.JRA"}},
        {"post_time", {"DE-52C.JRA", "DE-531.JRA", "DE-728.JRA"}},
    };
    for (const auto& [target, names] : families)
        for (const std::string& name : names) Seeds(out / target, name, file(name));

    day.seed(tmp.path());
    Seeds(out / "seed", "folder", file("zubrica.txt"));
    day.seed("..\\..\\pat98");
    Seeds(out / "seed", "relative", file("zubrica.txt"));

    AppState s;
    s.HomeFolder = tmp.path();
    s.AppFolder = tmp.path() + "\\";
    s.Messages = nullptr;
    ReadPassbook(s);  // creates the empty passbook
    PassbookEntry e;
    e.date.assign(u"20261206");
    e.stake = 12300;
    e.payout = 45600;
    e.profit = 33300;
    s.Passbook.insert(s.Passbook.begin() + kPassbookDaySlots, e);
    s.BestDays(0) = e;
    Seeds(out / "passbook", "days", PassbookFileText(s));
    Seeds(out / "passbook", "created", file("Korvane.txt"));

    s.settings.Pos = 2;
    s.settings.Top(1) = 4000;
    SaveSettings(s);
    Seeds(out / "settings", "saved", file("Zubrica98.ini"));
    return 0;
}
