#pragma once
// The payout entries of PayoutTable and the slot layouts shared by the result
// files and the payout files: one walker reads both.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "startup/app_state.h"

namespace zb {

// A set of bet types 1..5 as bits.
using BetTypeSet = uint8_t;
constexpr BetTypeSet BetTypes(std::initializer_list<int> types) {
    BetTypeSet m = 0;
    for (int t : types) m = static_cast<BetTypeSet>(m | (1u << t));
    return m;
}
constexpr bool HasBetType(BetTypeSet m, int type) {
    return (m >> type) & 1u;
}

// Appends key + code + first + second + amount at PayoutCount; an entry past
// kMaxPayoutEntries is failure 9.
void AddPayoutEntry(AppState& s, std::u16string_view key, std::u16string_view code,
                    std::u16string_view first, std::u16string_view second,
                    std::u16string_view amount);
// Refund entries ("000000") of scratched horse h for the given bet types.
void AddScratchRefunds(AppState& s, std::u16string_view key, long h, BetTypeSet types);
// Bracket quinella refunds of bracket i: code 1 every pair with i, code 2 (i, i).
void AddBracketRefunds(AppState& s, std::u16string_view key, long i, long code);

enum class SlotKind {
    kSkip,         // characters not read
    kHorse,        // win, place: horse 2, unused 2, amount 6
    kBracketPair,  // unused, bracket, unused, bracket, unused 2, amount 6
    kHorsePair,    // unused, horse 2, unused, horse 2, unused 2, amount 6
    kScratched,    // horse 2
    kBracketCode,  // one digit per bracket, brackets 1 to 8
};

struct SlotSection {
    SlotKind kind;
    int count;                // slots, or characters for kSkip
    char16_t betType = u' ';  // payout sections
    BetTypeSet refunds = 0;   // kScratched: the bet types refunded
};

constexpr int SlotWidth(SlotKind k) {
    switch (k) {
        case SlotKind::kHorse:
            return 10;
        case SlotKind::kBracketPair:
            return 12;
        case SlotKind::kHorsePair:
            return 14;
        case SlotKind::kScratched:
            return 2;
        default:
            return 1;
    }
}

// The most entries a layout can append for one race.
constexpr int MaxEntries(std::span<const SlotSection> layout) {
    int n = 0;
    for (const SlotSection& sec : layout) {
        switch (sec.kind) {
            case SlotKind::kHorse:
            case SlotKind::kBracketPair:
            case SlotKind::kHorsePair:
                n += sec.count;
                break;
            case SlotKind::kScratched:
                // 1 each for win and place, 17 partners each for quinella and wide.
                n += sec.count * (HasBetType(sec.refunds, 1) + HasBetType(sec.refunds, 2) +
                                  17 * (HasBetType(sec.refunds, 4) + HasBetType(sec.refunds, 5)));
                break;
            case SlotKind::kBracketCode:
                n += sec.count * 8;
                break;
            case SlotKind::kSkip:
                break;
        }
    }
    return n;
}

// Walks the sections from 1-based position pos of text, appending an entry or
// refunds for every used slot. An empty slot is passed over, not an end.
void WalkSlots(AppState& s, std::u16string_view key, std::u16string_view text, std::size_t pos,
               std::span<const SlotSection> layout);

// TwoDigits(venue) + TwoDigits(race).
std::u16string RaceKey(long venue, long race);

}  // namespace zb
