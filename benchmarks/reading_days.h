#pragma once
// The two race days the reading benchmarks measure, written into a folder.
//
// Heavy day: 3 meetings all settled, 1000 bets in 100 purchase files, about
// 2000 payout entries. Morning day: the same bets, most result files not yet
// written, odds and post-time files of every race of today and tomorrow.

#include <string>
#include <utility>
#include <vector>

namespace zb::bench {

// Files a report run opens, in its order, each with whether it is there.
using OpenedFiles = std::vector<std::pair<std::string, bool>>;

// Writes the day's PAT98 files into folder, which also gets the settings file
// and the passbook as the program leaves them.
OpenedFiles WriteReadingDay(bool morning, const std::string& folder);

}  // namespace zb::bench
