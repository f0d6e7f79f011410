// Race result files "KS-": the official payouts, scratched horses and bracket
// refunds of one race.

#include <array>

#include "readers/pat98_file.h"
#include "readers/payout_slots.h"
#include "readers/quick_text.h"
#include "readers/readers.h"

namespace zb {

namespace {

constexpr std::size_t kSkippedBodyBytes = 284;
constexpr std::size_t kResultChars = 318;
// A header that reads takes at most 92 bytes (the body is length - 92).
constexpr std::size_t kResultMaxBytes = 92 + kSkippedBodyBytes + kResultChars * 2 + 2;

constexpr std::array<SlotSection, 9> kResultLayout{{
    {SlotKind::kSkip, 1},
    {SlotKind::kHorse, 3, u'1'},
    {SlotKind::kHorse, 5, u'2'},
    {SlotKind::kBracketPair, 3, u'3'},
    {SlotKind::kHorsePair, 3, u'4'},
    {SlotKind::kHorsePair, 5, u'5'},
    {SlotKind::kSkip, 71},
    {SlotKind::kScratched, 5, u' ', BetTypes({1, 2, 4, 5})},
    {SlotKind::kBracketCode, 8},
}};
static_assert(MaxEntries(kResultLayout) == kMaxEntriesPerRace);

}  // namespace

std::string MeetingCode(const AppState& s, int meeting) {
    const long venue = s.MeetingTable(meeting, 1);
    std::u16string code = Hex(venue);
    code += s.RaceDate.c[3];
    code += Dec(s.MeetingTable(meeting, 2));
    code += Dec(s.MeetingTable(meeting, 3));
    return Narrow(code);
}

void ParseRaceResult(AppState& s, int16_t venue, int16_t race, std::string_view body) {
    s.CurrentProc = "getkekka";
    s.ErrorCode = 0;
    const std::u16string key = RaceKey(venue, race);
    const std::u16string text =
        QuickDecodeSjis(body.size() > kSkippedBodyBytes ? body.substr(kSkippedBodyBytes) : "");
    // No result yet: the first win horse number is still blank.
    if (Mid(text, 3, 1) == u" ") {
        s.ErrorCode = 1;
        return;
    }
    WalkSlots(s, key, text, 1, kResultLayout);
}

void ParseRaceResultFile(AppState& s, int16_t venue, int16_t race, std::string_view bytes) {
    SeqReader in = SeqReader::Over(bytes.substr(0, kResultMaxBytes));
    const long length = static_cast<long>(in.length());
    in.skipChars(8);
    in.view(4);
    in.skipChars(10);
    in.view(12);
    in.view(28);
    in.view(28);
    // The line end is not read.
    ParseRaceResult(s, venue, race, in.view(length - 92));
    if (s.ErrorCode == 0) s.RaceStatus(venue, race) = kSettledCount;
}

void ReadRaceResults(AppState& s) {
    s.CurrentProc = "Akekka";
    s.RaceStatus.fill(0);
    s.PayoutCount = 0;
    for (int k = 1; k <= s.MeetingCount; ++k) {
        const int16_t venue = s.MeetingTable(k, 1);
        std::string stem;  // the folder and "KS-" + meeting code
        for (int16_t race = 1; race <= 12; ++race) {
            s.RaceStatus(venue, race) = 0;
            if (race == 1) stem = JoinPath(s.Pat98Folder, "\\KS-" + MeetingCode(s, k));
            const auto path = FindFile(stem + Narrow(Hex(race)) + ".JRA");
            if (!path) continue;
            InFile(*path, [&] {
                ParseRaceResultFile(s, venue, race, ReadPat98File(*path, kResultMaxBytes));
            });
        }
    }
}

}  // namespace zb
