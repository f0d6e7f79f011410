#include "accounting/settlement.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "readers/packed_text.h"
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
//
// The keys are packed into integers in one open-addressed table: a bet key
// (venue, race, bet type, two numbers: 9 characters) maps to its first
// entry, a race key (its first 5 characters, tagged) marks a paid entry.
class PackedIndex {
  public:
    // False when some entry's key is not plain ASCII.
    bool build(const AppState& s) {
        const int n = std::max<int>(s.PayoutCount, 0);
        // Each entry adds at most two keys (its bet and its race): at least
        // one slot stays free, and the load mostly stays near a half.
        std::size_t cap = 64;
        while (cap < 2 * static_cast<std::size_t>(n) + 2) cap <<= 1;
        keys_.assign(cap, kEmpty);
        // Read only where a key was put: no need to fill it.
        first_.reset(new int[cap]);
        shift_ = 64;
        for (std::size_t c = cap; c > 1; c >>= 1) --shift_;
        for (int i = 0; i < n; ++i) {
            const PayoutEntry& e = s.PayoutTable(i);
            uint64_t bet;
            if (!PackText(e.mid(1, 9), bet)) return false;
            insert(bet, i);
            if (!IsRefund(e.mid(10, 6))) insert(RaceOf(bet), -1);
        }
        return true;
    }
    int find(std::u16string_view betKey) const {
        uint64_t k;
        if (betKey.size() != kPackedChars || !PackText(betKey, k)) return -1;
        const std::size_t slot = lookup(k);
        return keys_[slot] == k ? first_[slot] : -1;
    }
    bool knows(std::u16string_view betKey) const {
        uint64_t k;
        if (!PackText(betKey.substr(0, 5), k)) return false;
        return keys_[lookup(kRaceTag | k)] == (kRaceTag | k);
    }

  private:
    static constexpr uint64_t kEmpty = ~uint64_t{0};
    static constexpr uint64_t kRaceTag = uint64_t{1} << 63;
    // The first 5 characters of a packed bet key, kept apart from bet keys.
    static uint64_t RaceOf(uint64_t bet) { return kRaceTag | (bet >> 28); }

    std::size_t lookup(uint64_t k) const {
        std::size_t slot = static_cast<std::size_t>((k * 0x9E3779B97F4A7C15ull) >> shift_);
        while (keys_[slot] != kEmpty && keys_[slot] != k) slot = (slot + 1) & (keys_.size() - 1);
        return slot;
    }
    void insert(uint64_t k, int i) {
        const std::size_t slot = lookup(k);
        if (keys_[slot] == k) return;  // the first entry of the key stays
        keys_[slot] = k;
        first_[slot] = i;
    }

    std::vector<uint64_t> keys_;
    std::unique_ptr<int[]> first_;
    int shift_ = 64;
};

// The same by text, for tables holding other characters.
class TextIndex {
  public:
    explicit TextIndex(const AppState& s) {
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
    int find(std::u16string_view betKey) const {
        auto it = std::lower_bound(bets_.begin(), bets_.end(), std::make_pair(betKey, -1));
        return it != bets_.end() && it->first == betKey ? it->second : -1;
    }
    bool knows(std::u16string_view betKey) const {
        return std::binary_search(races_.begin(), races_.end(), betKey.substr(0, 5));
    }

  private:
    std::vector<std::pair<std::u16string_view, int>> bets_;
    std::vector<std::u16string_view> races_;
};

template <typename Index>
void Settle(AppState& s, const Index& payouts) {
    for (int i = 0; i < s.BetCount; ++i) {
        BetRecord& rec = s.BetLog(i);
        const int16_t kind = QuickStrictI16(rec.mid(1, 1));
        const std::u16string_view bet = rec.mid(2, 9);
        const int32_t units = QuickStrictI32(rec.mid(11, 4));
        const int16_t accept = QuickStrictI16(rec.mid(15, 2));
        std::u16string_view rate = u"      ";
        int result = 9;
        if (accept == 1 && (kind == 1 || kind == 3)) {
            result = 0;
            const int match = payouts.find(bet);
            if (match >= 0) {
                const std::u16string_view amount = s.PayoutTable(match).mid(10, 6);
                int32_t per100 = QuickStrictI32(amount);
                rate = amount;
                if (per100 == 0) {
                    per100 = 100;
                    rate = u"   100";
                    result = 3;
                } else {
                    result = 1;
                }
                s.PayoutTotal = Add(s.PayoutTotal, Mul(units, per100));
            } else if (payouts.knows(bet)) {
                result = 2;
            }
            if (result == 0) s.OpenStake = Add(s.OpenStake, Mul<int32_t>(units, 100));
            s.TodayBetCount = Add<int16_t>(s.TodayBetCount, 1);
        }
        // Characters 17 to 23: the result code and the payout per 100 yen.
        rec.c[16] = static_cast<char16_t>(u'0' + result);
        std::copy(rate.begin(), rate.end(), rec.c.begin() + 17);
    }
}

}  // namespace

void comp(AppState& s) {
    s.CurrentProc = "comp";
    s.TodayBetCount = 0;
    s.PayoutTotal = 0;
    s.OpenStake = 0;
    PackedIndex packed;
    if (packed.build(s))
        Settle(s, packed);
    else
        Settle(s, TextIndex(s));
}

}  // namespace zb
