// Passbook "Korvane.txt".

#include "day_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return zb::fuzz::RunDayFile("Korvane.txt", zb::fuzz::Pass::kPassbook, data, size);
}
