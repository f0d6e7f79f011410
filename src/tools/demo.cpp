// zubrica98-demo DIR: writes the bundled demo race day into DIR.

#include <cstring>
#include <iostream>

#include "fixtures/demo_day.h"

namespace {

constexpr const char* kUsage =
    "usage: zubrica98-demo DIR\n"
    "Writes the bundled demo race day (a PAT98 folder: pat98.exe, race programme,\n"
    "results, payouts, odds and purchase log) into the folder DIR, made when\n"
    "missing. Start zubrica98 with DIR as the current directory to see it.\n"
    "  --help  print this text\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::cout << kUsage;
        return 0;
    }
    // Any other option is a mistake, not a folder name.
    if (argc != 2 || argv[1][0] == '-') {
        std::cerr << kUsage;
        return 1;
    }
    try {
        zb::fixture::WriteDemoDay(argv[1]);
        zb::fixture::WriteDemoPassbook(argv[1]);
    } catch (const std::exception& e) {
        std::cerr << "zubrica98-demo: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
