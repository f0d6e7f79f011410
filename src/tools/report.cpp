// zubrica98-report: the program's start-up and reading pass without a window.
// Prints the state as JSON for scripts; never writes a file.

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "accounting/bank.h"
#include "accounting/day_figures.h"
#include "readers/sjis.h"
#include "readers/text.h"
#include "startup/startup.h"
#include "tools/state_json.h"

namespace {

// Every message box becomes one line on standard error: title, tab, text.
class StderrSink : public zb::MessageSink {
  public:
    void critical(const std::string& title, const std::string& text) override {
        std::cerr << title << '\t' << text << '\n';
    }
};

std::string ProgramFolder(const char* argv0) {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) exe = std::filesystem::absolute(argv0, ec);
    return exe.parent_path().string();
}

int Usage() {
    std::cerr << "usage: zubrica98-report [--folder DIR] [--json | --bank]\n";
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // The same bytes as on every other system: no CR added before each LF.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    std::string folder;
    bool json = false, bank = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--json") == 0) {
            json = true;
        } else if (std::strcmp(argv[i], "--bank") == 0) {
            bank = true;
        } else if (std::strcmp(argv[i], "--folder") == 0 && i + 1 < argc) {
            folder = argv[++i];
        } else {
            return Usage();
        }
    }
    if (json && bank) return Usage();
    if (folder.empty()) {
        std::error_code ec;
        folder = std::filesystem::current_path(ec).string();
    }
    auto separator = [](char c) {
#ifdef _WIN32
        if (c == '\\') return true;
#endif
        return c == '/';
    };
    while (folder.size() > 1 && separator(folder.back())) folder.pop_back();

    auto state = std::make_unique<zb::AppState>();
    StderrSink sink;
    state->Messages = &sink;
    state->ReadOnly = true;
    zb::StartPlatform platform;
    platform.currentDir = folder;
    platform.programFolder = ProgramFolder(argv[0]);
    // No screen here: the offscreen platform's 800 x 800 pixels at 96 DPI.
    platform.screenHeight = 12000;
    platform.screenWidth = 12000;
    if (!zb::Main(*state, platform)) return 2;
    if (json) {
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
