#include "readers/payout_slots.h"

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
    return t.size() == n && t.find_first_not_of(u' ') == std::u16string_view::npos;
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

void AddScratchRefunds(AppState& s, std::u16string_view key, long h, BetTypeSet types) {
    const std::u16string horse = TwoDigits(h);
    if (HasBetType(types, 1)) AddPayoutEntry(s, key, u"1", u"00", horse, u"000000");
    if (HasBetType(types, 2)) AddPayoutEntry(s, key, u"2", u"00", horse, u"000000");
    for (const char16_t* code : {u"4", u"5"}) {
        if (!HasBetType(types, code[0] - u'0')) continue;
        for (long j = 1; j <= h - 1; ++j)
            AddPayoutEntry(s, key, code, TwoDigits(j), horse, u"000000");
        for (long j = h + 1; j <= 18; ++j)
            AddPayoutEntry(s, key, code, horse, TwoDigits(j), u"000000");
    }
}

void AddBracketRefunds(AppState& s, std::u16string_view key, long i, long code) {
    const std::u16string bracket = TwoDigits(i);
    if (code == 1) {
        for (long j = 1; j <= i; ++j)
            AddPayoutEntry(s, key, u"3", TwoDigits(j), bracket, u"000000");
        for (long j = i + 1; j <= 8; ++j)
            AddPayoutEntry(s, key, u"3", bracket, TwoDigits(j), u"000000");
    } else if (code == 2) {
        AddPayoutEntry(s, key, u"3", bracket, bracket, u"000000");
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
        const std::u16string_view code(&sec.betType, 1);
        for (int k = 1; k <= sec.count; ++k, pos += width) {
            const std::u16string_view slot = Mid(text, pos, width);
            // Past the end of a short text a field reads as empty: used, and
            // its conversion fails.
            auto field = [&](std::size_t p, std::size_t n) { return Mid(slot, p, n); };
            switch (sec.kind) {
                case SlotKind::kHorse:
                    if (IsSpaces(field(1, 2), 2)) break;
                    AddPayoutEntry(s, key, code, u"00", TwoDigits(SlotNumber(field(1, 2))),
                                   field(5, 6));
                    break;
                case SlotKind::kBracketPair:
                    if (IsSpaces(field(2, 1), 1)) break;
                    {
                        const std::u16string first = TwoDigits(SlotNumber(field(2, 1)));
                        AddPayoutEntry(s, key, code, first, TwoDigits(SlotNumber(field(4, 1))),
                                       field(7, 6));
                    }
                    break;
                case SlotKind::kHorsePair:
                    if (IsSpaces(field(2, 2), 2)) break;
                    {
                        const std::u16string first = TwoDigits(SlotNumber(field(2, 2)));
                        AddPayoutEntry(s, key, code, first, TwoDigits(SlotNumber(field(5, 2))),
                                       field(9, 6));
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
