// Payout files "TH-", "FH-", "WH-", "UH-", "KH-": one record per race of a
// meeting, used for the races no result file has settled.

#include <array>

#include "readers/pat98_file.h"
#include "readers/payout_slots.h"
#include "readers/quick_text.h"
#include "readers/readers.h"

namespace zb {

namespace {

constexpr std::array<SlotSection, 1> kWinLayout{{{SlotKind::kHorse, 3, u'1'}}};
constexpr std::array<SlotSection, 1> kPlaceLayout{{{SlotKind::kHorse, 5, u'2'}}};
constexpr std::array<SlotSection, 2> kBracketLayout{{
    {SlotKind::kBracketPair, 3, u'3'},
    {SlotKind::kBracketCode, 8},
}};
constexpr std::array<SlotSection, 2> kQuinellaLayout{{
    {SlotKind::kHorsePair, 3, u'4'},
    {SlotKind::kScratched, 5, u' ', BetTypes({1, 2, 4})},
}};
constexpr std::array<SlotSection, 3> kWideLayout{{
    {SlotKind::kHorsePair, 5, u'5'},
    {SlotKind::kSkip, 70},
    {SlotKind::kScratched, 5, u' ', BetTypes({5})},
}};

static_assert(MaxEntries(kWinLayout) + MaxEntries(kPlaceLayout) + MaxEntries(kBracketLayout) +
                  MaxEntries(kQuinellaLayout) + MaxEntries(kWideLayout) ==
              kMaxEntriesPerRace);

// The races of one payout file, record after record.
void ParseRecords(AppState& s, int16_t venue, std::u16string_view buffer, std::size_t recordLength,
                  std::span<const SlotSection> layout) {
    for (int16_t race = 1; race <= 12; ++race) {
        if (s.RaceStatus(venue, race) >= kSettledCount) continue;  // its result file settled it
        const std::u16string key = RaceKey(venue, race);
        const std::u16string_view record =
            Mid(buffer, static_cast<std::size_t>(race - 1) * recordLength + 1, recordLength);
        const std::u16string_view flag = Mid(record, 3, 1);
        if (flag == u"1") WalkSlots(s, key, record, 5, layout);
        if (flag == u"1" || flag == u"5")
            s.RaceStatus(venue, race) = Add<int16_t>(s.RaceStatus(venue, race), 1);
    }
}

// The header that reads takes at most 22 bytes (the body is length - 22
// characters); the longest buffer is the wide file's.
constexpr std::size_t kPayoutMaxBytes = 22 + 2196 * 2 + 2;

struct PayoutKind {
    const char* prefix;
    std::size_t bufferLength;
    void (*parse)(AppState&, int16_t, std::u16string_view);
    std::size_t recordLength;
    std::size_t readLength;  // characters of a record the parser reads
};

// A final record the file does not hold as far as the parser reads is still
// being written: its missing slots would read as blanks and its payouts as
// lost. The pass fails, and the next one reads the file whole.
void RequireFinalRecords(const AppState& s, int16_t venue, std::u16string_view body,
                         const PayoutKind& kind) {
    for (int16_t race = 1; race <= 12; ++race) {
        const std::size_t start = static_cast<std::size_t>(race - 1) * kind.recordLength;
        if (body.size() < start + 3 || body.size() >= start + kind.readLength) continue;
        if (body[start + 2] == u'1' && s.RaceStatus(venue, race) < kSettledCount) Fail(kErrPastEnd);
    }
}

}  // namespace

void ParseWinPayouts(AppState& s, int16_t venue, std::u16string_view buffer) {
    s.CurrentProc = "getTH";
    ParseRecords(s, venue, buffer, 44, kWinLayout);
}

void ParsePlacePayouts(AppState& s, int16_t venue, std::u16string_view buffer) {
    s.CurrentProc = "getFH";
    ParseRecords(s, venue, buffer, 64, kPlaceLayout);
}

void ParseBracketPayouts(AppState& s, int16_t venue, std::u16string_view buffer) {
    s.CurrentProc = "getWH";
    ParseRecords(s, venue, buffer, 48, kBracketLayout);
}

void ParseQuinellaPayouts(AppState& s, int16_t venue, std::u16string_view buffer) {
    s.CurrentProc = "getUH";
    ParseRecords(s, venue, buffer, 56, kQuinellaLayout);
}

// Leaves CurrentProc as it found it.
void ParseWidePayouts(AppState& s, int16_t venue, std::u16string_view buffer) {
    ParseRecords(s, venue, buffer, 154, kWideLayout);
}

namespace {

constexpr std::array<PayoutKind, 5> kKinds{{
    {"\\TH-", 656, ParseWinPayouts, 44, 34},
    {"\\FH-", 936, ParsePlacePayouts, 64, 54},
    {"\\WH-", 712, ParseBracketPayouts, 48, 48},
    {"\\UH-", 824, ParseQuinellaPayouts, 56, 56},
    {"\\KH-", 2196, ParseWidePayouts, 154, 154},
}};

}  // namespace

void ParsePayoutFile(AppState& s, PayoutFile file, int16_t venue, std::string_view bytes) {
    const auto i = static_cast<std::size_t>(file);
    if (i >= kKinds.size()) Fail(kErrSubscript);
    const PayoutKind& kind = kKinds[i];
    SeqReader in = SeqReader::Over(bytes.substr(0, kPayoutMaxBytes));
    in.skipChars(8);
    in.view(4);
    in.skipChars(8);
    // As many characters as the body has bytes: a double-byte character
    // makes this run into the line end and past it.
    const long n = static_cast<long>(in.length()) - 22;
    const std::string_view rest = in.rest();
    std::u16string body;
    if (n >= 0 && static_cast<std::size_t>(n) <= rest.size() && IsPlainAscii(rest))
        WidenAscii(rest.substr(0, static_cast<std::size_t>(n)), body);
    else
        body = in.chars(n);
    RequireFinalRecords(s, venue, body, kind);
    body.resize(kind.bufferLength, u' ');
    kind.parse(s, venue, body);
}

void ReadPayoutFiles(AppState& s) {
    s.CurrentProc = "Aharai";
    for (int k = 1; k <= s.MeetingCount; ++k) {
        const int16_t venue = s.MeetingTable(k, 1);
        const std::string code = MeetingCode(s, k);
        for (std::size_t i = 0; i < kKinds.size(); ++i) {
            const auto path = FindFile(JoinPath(s.Pat98Folder, kKinds[i].prefix + code + ".JRA"));
            if (!path) continue;
            InFile(*path, [&] {
                ParsePayoutFile(s, static_cast<PayoutFile>(i), venue,
                                ReadPat98File(*path, kPayoutMaxBytes));
            });
        }
    }
}

}  // namespace zb
