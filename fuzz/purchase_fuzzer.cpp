// A purchase file the log index names.

#include "day_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return zb::fuzz::RunDayFile("P0001.JRA", zb::fuzz::Pass::kLoadAll, data, size);
}
