// Purchase log "LG-FILE.JRA" and the purchase files it names: the day's bets
// as BetLog records and the stake totals.

#include <algorithm>
#include <chrono>
#include <vector>

#include "readers/pat98_file.h"
#include "readers/quick_text.h"
#include "readers/readers.h"

namespace zb {

namespace {

constexpr std::size_t kIndexBlock = 2625;
constexpr std::size_t kPurchaseBlock = 1004;
constexpr int kMaxLogNames = 100;

// The first n bytes of a file, decoded, and how many characters the file
// held of them; the text is filled with blanks to n.
struct Block {
    std::u16string text;
    std::size_t held = 0;
};

Block ReadBlock(const std::string& path, std::size_t n) {
    SeqReader in(ReadPat98File(path, n));
    Block b;
    b.text = QuickDecodeSjis(in.block(n));
    b.held = b.text.size();
    b.text = PadTo(b.text, n);
    return b;
}

// A file that ends before its count field or inside the entries the count
// announces is still being written: the pass fails and the next reads it whole.
void RequireEntries(const Block& b, std::size_t countEnd, std::size_t first, std::size_t width,
                    long count) {
    std::size_t need = countEnd;
    if (count > 0) need = std::max(need, first - 1 + static_cast<std::size_t>(count) * width);
    if (b.held < need) Fail(kErrPastEnd);
}

// The index, its count of entries checked against its length.
std::u16string ReadIndex(const std::string& path) {
    Block b = ReadBlock(path, kIndexBlock);
    RequireEntries(b, 19, 24, 26, QuickLenientI16(Mid(b.text, 17, 3)));
    return std::move(b.text);
}

std::u16string_view LogEntry(std::u16string_view index, int i) {
    return Mid(index, 24 + 26 * static_cast<std::size_t>(i), 26);
}

std::u16string_view BetEntry(std::u16string_view file, int b) {
    return Mid(file, 23 + 19 * static_cast<std::size_t>(b), 19);
}

// Names of the index entries whose date field (at pos, len) equals date.
std::vector<std::u16string> NamesDated(std::u16string_view index, std::size_t pos,
                                       std::u16string_view date) {
    std::vector<std::u16string> names;
    const int16_t n = QuickLenientI16(Mid(index, 17, 3));
    for (int i = 0; i < n; ++i) {
        const std::u16string_view entry = LogEntry(index, i);
        if (Mid(entry, pos, date.size()) != date) continue;
        if (names.size() >= kMaxLogNames) Fail(kErrSubscript);
        names.emplace_back(Mid(entry, 1, 5));
    }
    return names;
}

void AppendRecord(AppState& s, std::u16string_view text) {
    s.BetLog(s.BetCount).assign(text);
    s.BetCount = Add<int16_t>(s.BetCount, 1);
}

int32_t Stake(std::u16string_view entry) {
    return Mul<int32_t>(QuickLenientI32(Mid(entry, 14, 4)), 100);
}

// The six digits yymmdd of the day before the race day.
std::u16string PreviousDay(const FixedText<8>& raceDate) {
    int part[3];
    for (int k = 0; k < 3; ++k) {
        const char16_t hi = raceDate.c[2 + 2 * k], lo = raceDate.c[3 + 2 * k];
        if (hi < u'0' || hi > u'9' || lo < u'0' || lo > u'9') Fail(kErrTypeMismatch);
        part[k] = (hi - u'0') * 10 + (lo - u'0');
    }
    using namespace std::chrono;
    const int yy = part[0];
    const year_month_day date{year{yy < 30 ? 2000 + yy : 1900 + yy},
                              month{static_cast<unsigned>(part[1])},
                              std::chrono::day{static_cast<unsigned>(part[2])}};
    if (!date.ok()) Fail(kErrTypeMismatch);
    const year_month_day before{sys_days{date} - days{1}};
    const int y = static_cast<int>(before.year()) % 100;
    return TwoDigits(y) + TwoDigits(static_cast<unsigned>(before.month())) +
           TwoDigits(static_cast<unsigned>(before.day()));
}

// Calls f(entry, reference) for every bet entry of the named purchase files
// that exist, in list order.
template <typename F>
void ForEachBetEntry(const AppState& s, const std::vector<std::u16string>& names, F&& f) {
    for (const std::u16string& name : names) {
        // A separator would lead out of the folder: no such purchase file.
        if (name.find_first_of(u"\\/:") != std::u16string::npos) continue;
        // Paths are UTF-8 text: half-width katakana and kanji names as the
        // file system spells them.
        const std::string path = JoinPath(s.Pat98Folder, "\\" + U16ToUtf8(name) + ".JRA");
        if (!FileExists(path)) continue;
        const Block block = ReadBlock(path, kPurchaseBlock);
        const std::u16string_view file = block.text;
        const std::u16string_view reference = Mid(file, 13, 4);
        const int16_t m = QuickLenientI16(Mid(file, 21, 2));
        RequireEntries(block, 22, 23, 19, m);
        for (int b = 0; b < m; ++b) f(BetEntry(file, b), reference);
    }
}

}  // namespace

void Alog(AppState& s) {
    s.CurrentProc = "Alog";
    s.StakeTotal = 0;
    s.AdvanceStakeNet = 0;
    s.ErrorCode = 0;
    const std::string indexPath = JoinPath(s.Pat98Folder, "\\LG-FILE.JRA");
    if (!FileExists(indexPath)) {
        s.BetCount = 0;
        s.TodayBetCount = 0;
        s.PayoutTotal = 0;
        s.OpenStake = 0;
        s.ErrorCode = 3;
        return;
    }
    const std::u16string index = ReadIndex(indexPath);
    const std::vector<std::u16string> names = NamesDated(index, 9, s.RaceDate.view());
    s.BetCount = 0;
    std::u16string record;
    ForEachBetEntry(s, names, [&](std::u16string_view entry, std::u16string_view reference) {
        record.assign(PadTo(Mid(entry, 4, 16), 16));
        record.append(7, u' ');
        record.append(reference);
        AppendRecord(s, record);
        if (QuickLenientI16(Mid(entry, 18, 2)) != 1) return;
        s.StakeTotal = Add(s.StakeTotal, Stake(entry));
        if (QuickLenientI16(Mid(entry, 4, 1)) == 2)
            s.AdvanceStakeNet = Add(s.AdvanceStakeNet, Stake(entry));
    });
}

void Blog(AppState& s) {
    s.CurrentProc = "Blog";
    s.ErrorCode = 0;
    const std::string indexPath = JoinPath(s.Pat98Folder, "\\LG-FILE.JRA");
    if (!FileExists(indexPath)) {
        s.ErrorCode = 3;
        return;
    }
    const std::u16string index = ReadIndex(indexPath);
    const std::u16string before = PreviousDay(s.RaceDate);
    const std::vector<std::u16string> names = NamesDated(index, 11, before);
    std::u16string record;
    ForEachBetEntry(s, names, [&](std::u16string_view entry, std::u16string_view reference) {
        if (QuickLenientI16(Mid(entry, 4, 1)) != 2) return;
        record.assign(u"3");
        record.append(PadTo(Mid(entry, 5, 15), 15));
        record.append(7, u' ');
        record.append(reference);
        AppendRecord(s, record);
        if (QuickLenientI16(Mid(entry, 18, 2)) == 1)
            s.AdvanceStakeNet = Sub(s.AdvanceStakeNet, Stake(entry));
    });
    // Whole-text order: records of one race stand together.
    auto& cells = s.BetLog.cell;
    std::sort(cells.begin(), cells.begin() + s.BetCount);
}

}  // namespace zb
