#pragma once
// Shared by the fuzz targets: the demo race day, read once per process, and
// one file of it replaced by the fuzzer's bytes, handed to that file's parser
// and then to what uses its tables. The program's run-time failure is an
// ordinary outcome; anything else (a crash, a sanitizer report, an exception
// escaping, a timeout) is a finding.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "readers/readers.h"

namespace zb::fuzz {

using Input = std::string_view;
inline Input Bytes(const uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// "UY-A.JRA", then the reading pass on the programme it gives.
int RunProgramme(Input bytes);
// "zubrica.txt", and the folder path it names.
int RunSeed(Input bytes);
// "LG-FILE.JRA" with the demo day's purchase files, then the settlement.
int RunLogIndex(Input bytes);
// Every purchase file the demo day's index names, then the settlement.
int RunPurchase(Input bytes);
// A result file of a race with bets on it, then the settlement.
int RunRaceResult(Input bytes);
// A payout file of a meeting none of whose races a result file settled.
int RunPayout(PayoutFile kind, Input bytes);
// "ZO-", "UO-" (after the day's "ZO-") and "DE-" of an open race, then the
// race detail's texts.
int RunWinPlaceOdds(Input bytes);
int RunQuinellaOdds(Input bytes);
int RunPostTime(Input bytes);
// The passbook read, and written back to text.
int RunPassbook(Input bytes);
// The settings read, changed and written back to text.
int RunSettings(Input bytes);

}  // namespace zb::fuzz
