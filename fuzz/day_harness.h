#pragma once
// Shared by the fuzz targets: a race day in a private folder, one of its files
// replaced by the fuzzer's bytes, then the program's own reading of it. The
// program's run-time failure is an ordinary outcome; anything else (a crash,
// a sanitizer report, an exception escaping, a timeout) is a finding.

#include <cstddef>
#include <cstdint>
#include <string>

namespace zb::fuzz {

enum class Pass {
    kRefresh,   // seed file, programme, then the whole reading pass
    kLoadAll,   // the reading pass on the day's programme
    kPassbook,  // the passbook read and written back to text
    kSettings,  // the settings read, changed and written back to text
    kDetail,    // after the reading pass, the detail of race 12 of the first meeting
};

// name: the file the input stands for, as PAT98 or the program names it.
int RunDayFile(const char* name, Pass pass, const uint8_t* data, std::size_t size);

}  // namespace zb::fuzz
