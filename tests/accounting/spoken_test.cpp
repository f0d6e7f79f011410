// What screen readers say for the figures: signs as words, no grouping,
// dates and bands in words.

#include "accounting/spoken.h"

#include <gtest/gtest.h>

#include <climits>

#include "accounting/day_figures.h"
#include "archive/analysis_spoken.h"

namespace zb {
namespace {

TEST(Spoken, FiguresAsSaid) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {SpokenYen(-3400), u"マイナス 3400円"},
        {SpokenYen(0), u"0円"},
        {SpokenYen(1234567), u"1234567円"},
        {SpokenYen(INT64_MIN), u"マイナス 9223372036854775808円"},
        {SpokenProfit(250), u"プラス 250円"},
        {SpokenProfit(0), u"0円"},
        {SpokenProfit(-1), u"マイナス 1円"},
        {SpokenRate(853), u"85.3パーセント"},
        {SpokenRate(1000), u"100パーセント"},
        {SpokenRate(0), u"0パーセント"},
        {SpokenDate(u"20261205"), u"2026年12月5日"},
        {SpokenDate(u"2026/01/05"), u"2026年1月5日"},
        {SpokenDate(u"2026-10"), u"2026年10月"},
        {SpokenDate(u"2026"), u"2026年"},
        {SpokenDate(u"計"), u"計"},
        {SpokenDate(u"2026/1/05"), u"2026/1/05"},
        {SpokenDate(u"-"), u"-"},
        {Said(SpokenAmount(u"損益", -3400)), u"損益 マイナス 3400円"},
        {SpokenDateLine(FixedText<8>(u"20010504")), u"2001年5月4日 金曜日"},
        {SpokenDateLine(FixedText<8>(u"20010231")), u"20010231"},
    };
    for (const auto& [got, want] : cases) EXPECT_EQ(got, want);
}

TEST(Spoken, AnalysisLabelsByKey) {
    const struct {
        AnalysisKey key;
        const char* label;
        const char16_t* said;
    } cases[] = {
        {AnalysisKey::kMonth, "2026-01", u"2026年1月"},
        {AnalysisKey::kRace, "12", u"12R"},
        {AnalysisKey::kOdds, "1.0-1.9", u"1.0から1.9倍"},
        {AnalysisKey::kOdds, "100.0-", u"100.0倍以上"},
        {AnalysisKey::kPopularity, "10-", u"10番人気以下"},
        {AnalysisKey::kStake, "100", u"100円"},
        {AnalysisKey::kStake, "不明", u"不明"},
        {AnalysisKey::kType, "計", u"計"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AnalysisSaidCells({c.label, 0, 0, 0, 0}, c.key)[0], c.said) << c.label;
    const std::vector<std::u16string> none =
        AnalysisSaidCells({"計", 0, 0, 0, 0}, AnalysisKey::kType);
    EXPECT_EQ(none[3], u"なし");
    EXPECT_EQ(none[7], u"なし");
}

}  // namespace
}  // namespace zb
