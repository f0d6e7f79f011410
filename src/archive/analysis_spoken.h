#pragma once
// The analysis table as a screen reader says it.

#include <string>
#include <vector>

#include "archive/analysis.h"

namespace zb {

// The eight cells of a row as said, for the key the rows are grouped by:
// "2026年1月", "12点", "3点", "25パーセント", "12000円", "8600円",
// "マイナス 3400円", "71.6パーセント"; a rate without divisor is "なし".
std::vector<std::u16string> AnalysisSaidCells(const AnalysisRow& r, AnalysisKey key);

}  // namespace zb
