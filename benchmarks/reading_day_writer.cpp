// Writes one of the reading benchmarks' race days into a folder, for tools
// that run the report command on it (pass_instructions.sh).

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "reading_days.h"

int main(int argc, char** argv) {
    if (argc != 3 || (std::strcmp(argv[1], "heavy") != 0 && std::strcmp(argv[1], "morning") != 0)) {
        std::fputs("usage: zb_reading_day heavy|morning FOLDER\n", stderr);
        return 1;
    }
    std::filesystem::create_directories(argv[2]);
    zb::bench::WriteReadingDay(std::strcmp(argv[1], "morning") == 0, argv[2]);
    return 0;
}
