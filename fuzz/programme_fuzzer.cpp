// Race programme "UY-A.JRA", read by a refresh and followed by the reading pass.

#include "day_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const zb::fuzz::Input bytes = zb::fuzz::Bytes(data, size);
    return zb::fuzz::RunProgramme(bytes);
}
