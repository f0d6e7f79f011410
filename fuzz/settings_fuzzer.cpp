// Settings "Zubrica98.ini".

#include "day_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return zb::fuzz::RunDayFile("Zubrica98.ini", zb::fuzz::Pass::kSettings, data, size);
}
