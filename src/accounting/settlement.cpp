#include "accounting/settlement.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "readers/quick_text.h"

namespace zb {

namespace {

// A "000000" amount is a refund. A scratched horse's refunds arrive before
// the race is run, so they settle the refunded bets only; whether the other
// bets of the race and bet type missed is known only from a paid entry. An
// amount that is no number counts as paid here: it fails only when matched.
bool IsRefund(std::u16string_view amount) {
    try {
        return QuickStrictI32(amount) == 0;
    } catch (const RunError&) {
        return false;
    }
}

// PayoutTable looked up by key instead of scanned once per bet: the first
// entry of a bet key decides, exactly as a scan from index 0 would find it,
// and a paid entry of the race and bet type turns an open bet into a miss.
class PayoutIndex {
  public:
    explicit PayoutIndex(const AppState& s) {
        const int n = s.PayoutCount;
        bets_.reserve(static_cast<std::size_t>(std::max(n, 0)));
        for (int i = 0; i < n; ++i) bets_.emplace_back(s.PayoutTable(i).mid(1, 9), i);
        std::sort(bets_.begin(), bets_.end());
        races_.reserve(bets_.size());
        for (const auto& b : bets_)
            if (!IsRefund(s.PayoutTable(b.second).mid(10, 6)))
                races_.push_back(b.first.substr(0, 5));
        races_.erase(std::unique(races_.begin(), races_.end()), races_.end());
    }
    // Index of the first entry with this bet key, or -1.
    int find(std::u16string_view betKey) const {
        auto it = std::lower_bound(bets_.begin(), bets_.end(), std::make_pair(betKey, -1));
        return it != bets_.end() && it->first == betKey ? it->second : -1;
    }
    bool knows(std::u16string_view raceKey) const {
        return std::binary_search(races_.begin(), races_.end(), raceKey);
    }

  private:
    std::vector<std::pair<std::u16string_view, int>> bets_;
    std::vector<std::u16string_view> races_;
};

}  // namespace

void comp(AppState& s) {
    s.CurrentProc = "comp";
    s.TodayBetCount = 0;
    s.PayoutTotal = 0;
    s.OpenStake = 0;
    const PayoutIndex payouts(s);
    for (int i = 0; i < s.BetCount; ++i) {
        BetRecord& rec = s.BetLog(i);
        const int16_t kind = QuickStrictI16(rec.mid(1, 1));
        const std::u16string_view race = rec.mid(2, 5);
        const std::u16string_view bet = rec.mid(2, 9);
        const int32_t units = QuickStrictI32(rec.mid(11, 4));
        const int16_t accept = QuickStrictI16(rec.mid(15, 2));
        std::u16string rate(6, u' ');
        int result = 9;
        if (accept == 1 && (kind == 1 || kind == 3)) {
            result = 0;
            const int match = payouts.find(bet);
            if (match >= 0) {
                const std::u16string_view amount = s.PayoutTable(match).mid(10, 6);
                int32_t per100 = QuickStrictI32(amount);
                rate.assign(amount);
                if (per100 == 0) {
                    per100 = 100;
                    rate = u"   100";
                    result = 3;
                } else {
                    result = 1;
                }
                s.PayoutTotal = Add(s.PayoutTotal, Mul(units, per100));
            } else if (payouts.knows(race)) {
                result = 2;
            }
            if (result == 0) s.OpenStake = Add(s.OpenStake, Mul<int32_t>(units, 100));
            s.TodayBetCount = Add<int16_t>(s.TodayBetCount, 1);
        }
        std::u16string text(rec.mid(1, 16));
        text += static_cast<char16_t>(u'0' + result);
        text += rate;
        text += rec.mid(24, 4);
        rec.assign(text);
    }
}

}  // namespace zb
