#include "archive/analysis_spoken.h"

#include "accounting/spoken.h"
#include "platform/sjis.h"
#include "startup/checked.h"

namespace zb {

namespace {

// "200-500" "200から500円", "5100-" "5100円以上", "100" "100円".
std::u16string Band(const std::u16string& l, std::u16string_view unit, std::u16string_view open) {
    const std::size_t dash = l.find(u'-');
    if (dash == std::u16string::npos) return l + std::u16string(unit);
    if (dash + 1 == l.size())
        return l.substr(0, dash) + std::u16string(unit) + std::u16string(open);
    return l.substr(0, dash) + u"から" + l.substr(dash + 1) + std::u16string(unit);
}

std::u16string SaidLabel(const std::string& label, AnalysisKey key) {
    const std::u16string l = Utf8ToU16(label);
    if (label == "計" || label == "不明") return l;
    switch (key) {
        case AnalysisKey::kYear:
        case AnalysisKey::kMonth:
            return SpokenDate(l);
        case AnalysisKey::kRace:
            return l + u"R";
        case AnalysisKey::kOdds:
            return Band(l, u"倍", u"以上");
        case AnalysisKey::kPopularity:
            return Band(l, u"番人気", u"以下");
        case AnalysisKey::kStake:
            return Band(l, u"円", u"以上");
        default:
            return l;
    }
}

std::u16string SaidRate(int64_t part, int64_t whole) {
    return whole > 0 ? SpokenRate(Mul<int64_t>(part, 1000) / whole) : u"なし";
}

}  // namespace

std::vector<std::u16string> AnalysisSaidCells(const AnalysisRow& r, AnalysisKey key) {
    return {SaidLabel(r.label, key),
            Utf8ToU16(std::to_string(r.bets)) + u"点",
            Utf8ToU16(std::to_string(r.hits)) + u"点",
            SaidRate(r.hits, r.bets),
            SpokenYen(r.stake),
            SpokenYen(r.payout),
            SpokenYen(Sub<int64_t>(r.payout, r.stake)),
            SaidRate(r.payout, r.stake)};
}

}  // namespace zb
