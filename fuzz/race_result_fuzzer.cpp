// Race result file "KS-" of a race with bets on it.

#include "day_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return zb::fuzz::RunDayFile("KS-56521.JRA", zb::fuzz::Pass::kLoadAll, data, size);
}
