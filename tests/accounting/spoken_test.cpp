// What screen readers say beyond the windows' tests: the extremes of the
// amounts, odd date shapes and the analysis bands.

#include "accounting/spoken.h"

#include <gtest/gtest.h>

#include <climits>

#include "accounting/day_figures.h"
#include "archive/analysis_spoken.h"

namespace zb {
namespace {

std::u16string Label(AnalysisKey key, const char* label, std::size_t cell = 0) {
    return AnalysisSaidCells({label, 0, 0, 0, 0}, key).at(cell);
}

TEST(Spoken, AsSaid) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {SpokenYen(INT64_MIN), u"マイナス 9223372036854775808円"},
        {SpokenProfit(250), u"プラス 250円"},
        {SpokenRate(1000), u"100パーセント"},
        {SpokenRate(5), u"0.5パーセント"},
        {SpokenDate(u"2026/01/05"), u"2026年1月5日"},
        {SpokenDate(u"2026-10"), u"2026年10月"},
        {SpokenDate(u"2026/1/05"), u"2026/1/05"},
        {SpokenDate(u"-"), u"-"},
        {Said(SpokenAmount(u"損益", -3400)), u"損益 マイナス 3400円"},
        {SpokenDateLine(FixedText<8>(u"20010231")), u"20010231"},
        {Label(AnalysisKey::kOdds, "100.0-"), u"100.0倍以上"},
        {Label(AnalysisKey::kPopularity, "4-5"), u"4から5番人気"},
        {Label(AnalysisKey::kStake, "100"), u"100円"},
        {Label(AnalysisKey::kStake, "不明"), u"不明"},
        {Label(AnalysisKey::kType, "計", 7), u"なし"}};
    for (const auto& [got, want] : cases) EXPECT_EQ(got, want);
}

}  // namespace
}  // namespace zb
