// Seed file "zubrica.txt": the folder it names is looked up by a refresh.

#include "day_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return zb::fuzz::RunDayFile("zubrica.txt", zb::fuzz::Pass::kRefresh, data, size);
}
