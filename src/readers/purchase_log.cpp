// Purchase log "LG-FILE.JRA" and the purchase files it names: the day's bets
// as BetLog records and the stake totals.

#include <algorithm>
#include <array>
#include <chrono>
#include <optional>
#include <type_traits>
#include <vector>

#include "platform/folder_index.h"
#include "readers/packed_text.h"
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

Block BlockOf(std::string_view bytes, std::size_t n) {
    Block b;
    b.text = QuickDecodeSjis(bytes.substr(0, n));
    b.held = b.text.size();
    b.text.resize(n, u' ');
    return b;
}

// Where a file's entries lie: the count field (1-based position, length) and
// the entries of width characters from position first.
struct Counted {
    std::size_t countPos, countLen, first, width;
    std::size_t countEnd() const { return countPos + countLen - 1; }
    // The characters up to the last entry the count announces.
    std::size_t need(long count) const {
        return count > 0 ? std::max(countEnd(), first - 1 + static_cast<std::size_t>(count) * width)
                         : countEnd();
    }
};

constexpr Counted kIndexLayout{17, 3, 24, 26};
constexpr Counted kPurchaseLayout{21, 2, 23, 19};

// A file that ends before its count field or inside the entries the count
// announces is still being written: the pass fails and the next reads it whole.
void RequireEntries(const Block& b, const Counted& layout, long count) {
    if (b.held < layout.need(count)) Fail(kErrPastEnd);
}

// Nothing past the entries a file's count announces is ever looked at, and
// plain ASCII decodes the same whatever follows it. So when the first n
// bytes hold those entries as plain ASCII, these bytes are the characters:
// they are returned, and nothing after them.
std::optional<std::string_view> PlainEntries(std::string_view bytes, std::size_t n,
                                             const Counted& layout) {
    bytes = bytes.substr(0, n);
    const std::size_t head = layout.countEnd();
    if (bytes.size() < head || !IsPlainAscii(bytes.substr(0, head))) return std::nullopt;
    const std::size_t need =
        layout.need(QuickLenientI16(Mid(bytes, layout.countPos, layout.countLen)));
    if (need > bytes.size() || !IsPlainAscii(bytes.substr(head, need - head))) return std::nullopt;
    return bytes.substr(0, need);
}

// The first n bytes of a file as n characters, checked to hold the entries
// its count announces; plain ones end after those entries (PlainEntries).
std::u16string CountedBlock(std::string_view bytes, std::size_t n, const Counted& layout) {
    if (const auto plain = PlainEntries(bytes, n, layout)) {
        std::u16string text;
        WidenAscii(*plain, text);
        return text;
    }
    Block b = BlockOf(bytes.substr(0, n), n);
    RequireEntries(b, layout, QuickLenientI16(Mid(b.text, layout.countPos, layout.countLen)));
    return std::move(b.text);
}

// The index, its count of entries checked against its length.
std::u16string IndexText(std::string_view bytes) {
    return CountedBlock(bytes, kIndexBlock, kIndexLayout);
}

std::u16string_view LogEntry(std::u16string_view index, int i) {
    return Mid(index, 24 + 26 * static_cast<std::size_t>(i), 26);
}

template <typename View>
View BetEntry(View file, int b) {
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

// Characters of t at out: units, or plain ASCII bytes.
template <typename View>
void PutChars(View t, char16_t* out) {
    for (const auto c : t)
        *out++ = static_cast<char16_t>(static_cast<std::make_unsigned_t<decltype(c)>>(c));
}

// A record: head (cut or filled to 16 characters, a leading char before it
// when given), 7 blanks, the purchase file's reference.
template <typename View>
void AppendRecord(AppState& s, std::u16string_view lead, View head, View reference) {
    BetRecord& r = s.BetLog(s.BetCount);
    r = BetRecord();
    const std::size_t n = lead.size();
    PutChars(lead, r.c.data());
    PutChars(head.substr(0, 16 - n), r.c.data() + n);
    PutChars(reference.substr(0, 4), r.c.data() + 23);
    s.BetCount = Add<int16_t>(s.BetCount, 1);
}

template <typename View>
int32_t Stake(View entry) {
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

}  // namespace

// Records of characters below 0x100 sort by four packed keys that order as
// the texts do; equal keys are equal records, so the order is the same
// whichever way it is reached.
void SortRecords(BetRecord* first, std::size_t n) {
    // The first key moves with the record's index; the other three are
    // looked up by index only when first keys tie.
    struct Keyed {
        uint64_t k0;
        std::size_t i;
    };
    using Rest = std::array<uint64_t, 3>;
    static_assert(kBetRecordLength > 24 && kBetRecordLength <= 32);
    std::vector<Keyed> keyed(n);
    std::vector<Rest> rest(n);
    for (std::size_t i = 0; i < n; ++i) {
        keyed[i].i = i;
        const char16_t* c = first[i].c.data();
        for (std::size_t w = 0; w < 4; ++w) {
            const std::size_t len = std::min<std::size_t>(8, kBetRecordLength - 8 * w);
            if (!PackText(c + 8 * w, len, w == 0 ? keyed[i].k0 : rest[i][w - 1])) {
                std::sort(first, first + n);
                return;
            }
        }
    }
    std::sort(keyed.begin(), keyed.end(), [&rest](const Keyed& a, const Keyed& b) {
        if (a.k0 != b.k0) return a.k0 < b.k0;
        const Rest& x = rest[a.i];
        const Rest& y = rest[b.i];
        if (x[0] != y[0]) return x[0] < y[0];
        if (x[1] != y[1]) return x[1] < y[1];
        return x[2] < y[2];
    });
    // Record keyed[j].i goes to j: each cycle of moves is followed once.
    std::vector<uint8_t> placed(n, 0);
    for (std::size_t j = 0; j < n; ++j) {
        if (placed[j]) continue;
        const BetRecord start = first[j];
        std::size_t at = j;
        while (keyed[at].i != j) {
            first[at] = first[keyed[at].i];
            placed[at] = 1;
            at = keyed[at].i;
        }
        first[at] = start;
        placed[at] = 1;
    }
}

namespace {

// Calls f(entry, reference) for every bet entry of the named purchase files
// that exist, in list order.
template <typename F>
void ForEachBetEntry(const AppState& s, const std::vector<std::u16string>& names,
                     const PurchaseFiles& files, F&& f) {
    for (const std::u16string& name : names) {
        InFile([&] { return JoinPath(s.Pat98Folder, "\\" + U16ToUtf8(name) + ".JRA"); },
               [&] {
                   const std::optional<std::string> bytes = files(name);
                   if (!bytes) return;
                   const auto each = [&f](auto file) {
                       const auto reference = Mid(file, 13, 4);
                       const int16_t m = QuickLenientI16(Mid(file, 21, 2));
                       for (int b = 0; b < m; ++b) f(BetEntry(file, b), reference);
                   };
                   if (const auto plain = PlainEntries(*bytes, kPurchaseBlock, kPurchaseLayout)) {
                       each(*plain);
                   } else {
                       const std::u16string text =
                           CountedBlock(*bytes, kPurchaseBlock, kPurchaseLayout);
                       each(std::u16string_view(text));
                   }
               });
    }
}

std::string IndexPath(const AppState& s) {
    return JoinPath(s.Pat98Folder, "\\LG-FILE.JRA");
}

// The purchase files of the folder, by the names the index gives.
PurchaseFiles FolderFiles(const AppState& s) {
    // The folder with its separator, joined once; the names hold none.
    return [folder = JoinPath(s.Pat98Folder, "\\")](
               std::u16string_view name) -> std::optional<std::string> {
        // A separator would lead out of the folder: no such purchase file.
        if (name.find_first_of(u"\\/:") != std::u16string_view::npos) return std::nullopt;
        // Paths are UTF-8 text: half-width katakana and kanji names as the
        // file system spells them.
        std::string path = folder;
        path += U16ToUtf8(name);
        path += ".JRA";
        const auto found = FindFile(path);
        if (!found) return std::nullopt;
        return ReadPat98File(*found, kPurchaseBlock);
    };
}

// The index's bytes, or nothing when there is no index. Alog and Blog read
// the same index: once per pass.
std::optional<std::string> IndexBytes(const AppState& s) {
    const std::string path = IndexPath(s);
    if (!FileExists(path)) return std::nullopt;
    return InFile(path, [&] { return ReadFileBytesOncePerPass(path, kIndexBlock); });
}

}  // namespace

void Alog(AppState& s) {
    s.CurrentProc = "Alog";
    const std::optional<std::string> index = IndexBytes(s);
    if (!index) {
        s.StakeTotal = 0;
        s.AdvanceStakeNet = 0;
        s.BetCount = 0;
        s.TodayBetCount = 0;
        s.PayoutTotal = 0;
        s.OpenStake = 0;
        s.ErrorCode = 3;
        return;
    }
    ParseAlog(s, *index, FolderFiles(s));
}

void ParseAlog(AppState& s, std::string_view indexBytes, const PurchaseFiles& files) {
    s.CurrentProc = "Alog";
    s.StakeTotal = 0;
    s.AdvanceStakeNet = 0;
    s.ErrorCode = 0;
    const std::vector<std::u16string> names =
        InFile([&] { return IndexPath(s); },
               [&] { return NamesDated(IndexText(indexBytes), 9, s.RaceDate.view()); });
    s.BetCount = 0;
    ForEachBetEntry(s, names, files, [&](auto entry, auto reference) {
        AppendRecord(s, {}, Mid(entry, 4, 16), reference);
        if (QuickLenientI16(Mid(entry, 18, 2)) != 1) return;
        s.StakeTotal = Add(s.StakeTotal, Stake(entry));
        if (QuickLenientI16(Mid(entry, 4, 1)) == 2)
            s.AdvanceStakeNet = Add(s.AdvanceStakeNet, Stake(entry));
    });
}

void Blog(AppState& s) {
    s.CurrentProc = "Blog";
    const std::optional<std::string> index = IndexBytes(s);
    if (!index) {
        s.ErrorCode = 3;
        return;
    }
    ParseBlog(s, *index, FolderFiles(s));
}

void ParseBlog(AppState& s, std::string_view indexBytes, const PurchaseFiles& files) {
    s.CurrentProc = "Blog";
    s.ErrorCode = 0;
    const std::u16string before = PreviousDay(s.RaceDate);
    const std::vector<std::u16string> names =
        InFile([&] { return IndexPath(s); },
               [&] { return NamesDated(IndexText(indexBytes), 11, before); });
    ForEachBetEntry(s, names, files, [&](auto entry, auto reference) {
        if (QuickLenientI16(Mid(entry, 4, 1)) != 2) return;
        AppendRecord(s, u"3", Mid(entry, 5, 15), reference);
        if (QuickLenientI16(Mid(entry, 18, 2)) == 1)
            s.AdvanceStakeNet = Sub(s.AdvanceStakeNet, Stake(entry));
    });
    // Whole-text order: records of one race stand together.
    SortRecords(s.BetLog.cell.data(), static_cast<std::size_t>(s.BetCount));
}

}  // namespace zb
