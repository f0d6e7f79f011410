// Purchase log index "LG-FILE.JRA".

#include "day_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return zb::fuzz::RunDayFile("LG-FILE.JRA", zb::fuzz::Pass::kLoadAll, data, size);
}
