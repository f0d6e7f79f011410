#include "accounting/settlement.h"

#include <algorithm>
#include <cstring>
#include <memory>
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
    // Six digits, the usual amount, are zero only when each digit is.
    if (amount.size() == 6 && std::all_of(amount.begin(), amount.end(),
                                          [](char16_t c) { return c >= u'0' && c <= u'9'; }))
        return std::all_of(amount.begin(), amount.end(), [](char16_t c) { return c == u'0'; });
    try {
        return QuickStrictI32(amount) == 0;
    } catch (const RunError&) {
        return false;
    }
}

constexpr std::u16string_view kNoRate = u"      ";
constexpr std::u16string_view kRefundRate = u"   100";
constexpr std::size_t kBetKeyLength = 9;   // venue, race, bet type, two numbers
constexpr std::size_t kRaceKeyLength = 5;  // venue, race, bet type

// PayoutTable looked up by key instead of scanned once per bet: the first
// entry of a bet key decides, exactly as a scan from index 0 would find it,
// and a paid entry of the race and bet type turns an open bet into a miss.
// Two open-addressed tables of entry indexes + 1 (0 free), hashed on the
// characters themselves: one by bet key, one by race key of paid entries.
static_assert(kMaxPayoutEntries < 0xFFFF);
class PayoutIndex {
  public:
    explicit PayoutIndex(const AppState& s) : entries_(s.PayoutTable.cell.data()) {
        const int n = std::max<int>(s.PayoutCount, 0);
        std::size_t cap = 64;
        while (cap < 2 * static_cast<std::size_t>(n)) cap <<= 1;  // load at most a half
        for (std::size_t c = cap; c > 1; c >>= 1) --shift_;
        bets_.reset(new uint16_t[cap]);
        races_.reset(new uint16_t[cap]);
        std::memset(bets_.get(), 0, cap * sizeof(uint16_t));
        std::memset(races_.get(), 0, cap * sizeof(uint16_t));
        mask_ = cap - 1;
        for (int i = 0; i < n; ++i) {
            const PayoutEntry& e = s.PayoutTable(i);
            insert<kBetKeyLength>(bets_, e.c.data(), i);
            if (!IsRefund(e.mid(10, 6))) insert<kRaceKeyLength>(races_, e.c.data(), i);
        }
    }
    // The first entry of the bet key at key, or -1.
    int find(const char16_t* key) const {
        const uint16_t at = bets_[slot<kBetKeyLength>(bets_, key)];
        return static_cast<int>(at) - 1;
    }
    // Whether a paid entry of the bet's race and bet type is known.
    bool knows(const char16_t* key) const { return races_[slot<kRaceKeyLength>(races_, key)] != 0; }

  private:
    template <std::size_t Len>
    static uint64_t Hash(const char16_t* key) {
        constexpr uint64_t kMul = 0x9E3779B97F4A7C15ull;
        uint64_t h = 0;
        std::size_t i = 0;
        for (; i + 4 <= Len; i += 4) {
            uint64_t w;
            std::memcpy(&w, key + i, sizeof w);
            h = (h ^ w) * kMul;
        }
        for (; i < Len; ++i) h = (h ^ key[i]) * kMul;
        return h;
    }
    // Where key is, or the free slot where it would go.
    template <std::size_t Len>
    std::size_t slot(const std::unique_ptr<uint16_t[]>& table, const char16_t* key) const {
        std::size_t at = static_cast<std::size_t>(Hash<Len>(key) >> shift_);
        while (table[at] != 0 &&
               std::memcmp(entries_[table[at] - 1].c.data(), key, Len * sizeof(char16_t)) != 0)
            at = (at + 1) & mask_;
        return at;
    }
    template <std::size_t Len>
    void insert(std::unique_ptr<uint16_t[]>& table, const char16_t* key, int i) {
        uint16_t& at = table[slot<Len>(table, key)];
        if (at == 0) at = static_cast<uint16_t>(i + 1);  // the first entry of the key stays
    }

    const PayoutEntry* entries_;
    std::unique_ptr<uint16_t[]> bets_, races_;
    std::size_t mask_ = 0;
    int shift_ = 64;
};

void Settle(AppState& s, const PayoutIndex& payouts) {
    for (int i = 0; i < s.BetCount; ++i) {
        BetRecord& rec = s.BetLog(i);
        const int16_t kind = QuickStrictI16(rec.mid(1, 1));
        const char16_t* bet = rec.c.data() + 1;  // characters 2 to 10
        const int32_t units = QuickStrictI32(rec.mid(11, 4));
        const int16_t accept = QuickStrictI16(rec.mid(15, 2));
        std::u16string_view rate = kNoRate;
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
                    rate = kRefundRate;
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
    Settle(s, PayoutIndex(s));
}

}  // namespace zb
