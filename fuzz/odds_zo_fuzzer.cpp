// Win, place and bracket quinella odds "ZO-" of an open race.

#include "day_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return zb::fuzz::RunDayFile("ZO-52C.JRA", zb::fuzz::Pass::kDetail, data, size);
}
