#include "accounting/hit_news.h"

#include "accounting/bet_list.h"
#include "accounting/day_figures.h"
#include "accounting/race_detail.h"
#include "platform/sjis.h"
#include "readers/quick_text.h"
#include "startup/text.h"

namespace zb {

namespace {

// The bets the day's totals count: today's races, bought today or before.
bool Counted(const BetRecord& r) {
    const char16_t kind = r.c[0];
    return kind == u'1' || kind == u'3';
}

std::u16string Key(const BetRecord& r) {
    return std::u16string(r.mid(1, 16)) + std::u16string(r.mid(24, 4));
}

// "東京11R 馬連 3-5 12,340円"
std::u16string HitLine(const BetFields& f, int64_t payout) {
    std::u16string t = Utf8ToU16(VenueName(f.venue)) + Dec(f.race) + u"R ";
    t += Utf8ToU16(BetTypeName(f.type)) + u' ';
    if (f.type >= 3) t += Dec(f.first) + u"-";
    return t + Dec(f.second) + u" " + Grouped(payout) + u"円";
}

}  // namespace

std::u16string Grouped(int64_t v, bool sign) {
    const bool negative = v < 0;
    const uint64_t m = negative ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
    std::u16string digits;
    const std::string d = std::to_string(m);
    for (std::size_t i = 0; i < d.size(); ++i) {
        if (i > 0 && (d.size() - i) % 3 == 0) digits += u',';
        digits += static_cast<char16_t>(d[i]);
    }
    if (negative) return u"-" + digits;
    return sign && m > 0 ? u"+" + digits : digits;
}

void HitNews::Know(const AppState& s) {
    told_.clear();
    settledDay_.clear();
    Tell(s);
}

std::u16string HitNews::Tell(const AppState& s) {
    if (s.LastPassFailed) return {};
    std::map<std::u16string, int> now;
    std::u16string lines;
    int64_t sum = 0;
    int hits = 0;
    for (int i = 0; i < s.BetCount; ++i) {
        const BetRecord& r = s.BetLog(i);
        if (!Counted(r) || r.c[16] != u'1') continue;
        const std::u16string key = Key(r);
        if (++now[key] <= told_[key]) continue;
        const BetFields f = ReadBetFields(r);
        const int64_t payout = int64_t{f.units} * f.payout;
        lines += (lines.empty() ? u"的中 " : u"\n的中 ") + HitLine(f, payout);
        sum += payout;
        ++hits;
    }
    for (const auto& [key, n] : now) told_[key] = std::max(told_[key], n);
    if (hits > 1) lines += u"\n計 " + Grouped(sum) + u"円";
    const std::u16string day(s.RaceDate.view());
    if (s.OpenStake == 0 && DayStake(s) != 0 && settledDay_ != day) {
        settledDay_ = day;
        if (!lines.empty()) lines += u'\n';
        lines += u"全投票が確定しました 損益 " + Grouped(DayProfit(s), true) + u"円";
    }
    return lines;
}

}  // namespace zb
