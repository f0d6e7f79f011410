// Bracket quinella payout file "WH-".

#include "day_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return zb::fuzz::RunDayFile("WH-9652.JRA", zb::fuzz::Pass::kLoadAll, data, size);
}
