#include "readers/payout_slots.h"

#include <algorithm>
#include <array>

#include "readers/quick_text.h"

namespace zb {

namespace {

// A slot number or code: one or two characters, a leading blank allowed.
// Anything else (a blank, a letter, nothing) is failure 13.
int16_t SlotNumber(std::u16string_view t) {
    return QuickStrictI16(t);
}

bool IsSpaces(std::u16string_view t, std::size_t n) {
    return t.size() == n && std::all_of(t.begin(), t.end(), [](char16_t c) { return c == u' '; });
}

}  // namespace

std::u16string RaceKey(long venue, long race) {
    return TwoDigits(venue) + TwoDigits(race);
}

void AddPayoutEntry(AppState& s, std::u16string_view key, std::u16string_view code,
                    std::u16string_view first, std::u16string_view second,
                    std::u16string_view amount) {
    PayoutEntry& e = s.PayoutTable(s.PayoutCount);
    std::size_t n = 0;
    for (std::u16string_view part : {key, code, first, second, amount})
        for (std::size_t i = 0; i < part.size() && n < kPayoutEntryLength; ++i) e.c[n++] = part[i];
    for (; n < kPayoutEntryLength; ++n) e.c[n] = u' ';
    s.PayoutCount = Add<int16_t>(s.PayoutCount, 1);
}

namespace {

constexpr bool IsTwoDigit(long n) {
    return n >= 0 && n < 100;
}

void PutTwo(char16_t* out, long n) {
    out[0] = static_cast<char16_t>(u'0' + n / 10);
    out[1] = static_cast<char16_t>(u'0' + n % 10);
}

// AddPayoutEntry with the numbers as TwoDigits gives them. The usual entry,
// a four-character key, numbers below 100 and a six-character amount, fills
// the fifteen characters exactly and is written in place.
void PutEntry(AppState& s, std::u16string_view key, char16_t code, long first, long second,
              std::u16string_view amount) {
    if (key.size() != 4 || amount.size() != 6 || !IsTwoDigit(first) || !IsTwoDigit(second)) {
        AddPayoutEntry(s, key, std::u16string_view(&code, 1), TwoDigits(first), TwoDigits(second),
                       amount);
        return;
    }
    char16_t* c = s.PayoutTable(s.PayoutCount).c.data();
    std::copy(key.begin(), key.end(), c);
    c[4] = code;
    PutTwo(c + 5, first);
    PutTwo(c + 7, second);
    std::copy(amount.begin(), amount.end(), c + 9);
    s.PayoutCount = Add<int16_t>(s.PayoutCount, 1);
}

constexpr std::u16string_view kRefund = u"000000";

// The refund pairs (j, h) for j = 1 up to h - 1, then (h, j) for j = h + 1 up
// to last. In the usual case they share all but one number, so each is a
// copy of one pattern with that number written in.
void PutRefundPairs(AppState& s, std::u16string_view key, char16_t code, long h, long last) {
    if (key.size() != 4 || !IsTwoDigit(h) || !IsTwoDigit(last)) {
        for (long j = 1; j <= h - 1; ++j) PutEntry(s, key, code, j, h, kRefund);
        for (long j = h + 1; j <= last; ++j) PutEntry(s, key, code, h, j, kRefund);
        return;
    }
    PayoutEntry pattern;
    std::copy(key.begin(), key.end(), pattern.c.begin());
    pattern.c[4] = code;
    std::copy(kRefund.begin(), kRefund.end(), pattern.c.begin() + 9);
    for (int side = 0; side < 2; ++side) {
        // Side 0: h second, partners below it; side 1: h first, partners above.
        const long from = side == 0 ? 1 : h + 1, to = side == 0 ? h - 1 : last;
        PutTwo(pattern.c.data() + (side == 0 ? 7 : 5), h);
        char16_t* partner = side == 0 ? pattern.c.data() + 5 : pattern.c.data() + 7;
        for (long j = from; j <= to; ++j) {
            PutTwo(partner, j);
            s.PayoutTable(s.PayoutCount) = pattern;
            s.PayoutCount = Add<int16_t>(s.PayoutCount, 1);
        }
    }
}

}  // namespace

void AddScratchRefunds(AppState& s, std::u16string_view key, long h, BetTypeSet types) {
    if (HasBetType(types, 1)) PutEntry(s, key, u'1', 0, h, kRefund);
    if (HasBetType(types, 2)) PutEntry(s, key, u'2', 0, h, kRefund);
    for (const char16_t code : {u'4', u'5'})
        if (HasBetType(types, code - u'0')) PutRefundPairs(s, key, code, h, 18);
}

void AddBracketRefunds(AppState& s, std::u16string_view key, long i, long code) {
    if (code == 1) {
        for (long j = 1; j <= i; ++j) PutEntry(s, key, u'3', j, i, kRefund);
        for (long j = i + 1; j <= 8; ++j) PutEntry(s, key, u'3', i, j, kRefund);
    } else if (code == 2) {
        PutEntry(s, key, u'3', i, i, kRefund);
    }
}

void WalkSlots(AppState& s, std::u16string_view key, std::u16string_view text, std::size_t pos,
               std::span<const SlotSection> layout) {
    for (const SlotSection& sec : layout) {
        if (sec.kind == SlotKind::kSkip) {
            pos += static_cast<std::size_t>(sec.count);
            continue;
        }
        const std::size_t width = static_cast<std::size_t>(SlotWidth(sec.kind));
        for (int k = 1; k <= sec.count; ++k, pos += width) {
            const std::u16string_view slot = Mid(text, pos, width);
            // Past the end of a short text a field reads as empty: used, and
            // its conversion fails.
            auto field = [&](std::size_t p, std::size_t n) { return Mid(slot, p, n); };
            switch (sec.kind) {
                case SlotKind::kHorse:
                    if (IsSpaces(field(1, 2), 2)) break;
                    PutEntry(s, key, sec.betType, 0, SlotNumber(field(1, 2)), field(5, 6));
                    break;
                case SlotKind::kBracketPair:
                    if (IsSpaces(field(2, 1), 1)) break;
                    {
                        const int16_t first = SlotNumber(field(2, 1));
                        PutEntry(s, key, sec.betType, first, SlotNumber(field(4, 1)), field(7, 6));
                    }
                    break;
                case SlotKind::kHorsePair:
                    if (IsSpaces(field(2, 2), 2)) break;
                    {
                        const int16_t first = SlotNumber(field(2, 2));
                        PutEntry(s, key, sec.betType, first, SlotNumber(field(5, 2)), field(9, 6));
                    }
                    break;
                case SlotKind::kScratched:
                    if (IsSpaces(slot, 2)) break;
                    AddScratchRefunds(s, key, SlotNumber(slot), sec.refunds);
                    break;
                case SlotKind::kBracketCode:
                    if (IsSpaces(slot, 1)) break;
                    AddBracketRefunds(s, key, k, SlotNumber(slot));
                    break;
                case SlotKind::kSkip:
                    break;
            }
        }
    }
}

}  // namespace zb
