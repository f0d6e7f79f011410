// Odds files "ZO-" (win, place, bracket quinella) and "UO-" (quinella, wide)
// and the post-time file "DE-" of one race, stored as the text the race
// detail prints.

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/run_error.h"
#include "platform/sjis.h"
#include "readers/pat98_file.h"
#include "readers/readers.h"

namespace zb {

namespace {

constexpr std::u16string_view kScratched5 = u" ﾄﾘｹｼ";
constexpr std::u16string_view kScratched6 = u"  ﾄﾘｹｼ";
constexpr std::size_t kHorseEntry = 18, kBracketEntry = 10, kPairEntry = 25;
constexpr std::size_t kBracketStart = 18 * kHorseEntry + 1;
// The quinella file's entries follow a two-digit runner count; the last pair
// the tables take, (17, 18), is entry 1449 for 99 runners: 146 + 1449 * 25
// characters, about 72 KB as double-byte text. The post time and win-place
// files use less.
constexpr std::size_t kOddsMaxBytes = 256 * 1024;

// The body: up to n characters after the header. A file shorter than its
// header says gives what it has; the fields it lacks are not read.
std::u16string Body(SeqReader& in, long n) {
    std::u16string body = DecodeSjis(in.block(in.remaining()));
    if (n < 0) n = 0;
    if (body.size() > static_cast<std::size_t>(n)) body.resize(static_cast<std::size_t>(n));
    return body;
}

// Entry k (1-based) of width w from body position start, or empty when the
// body does not hold all of it.
std::u16string_view Entry(std::u16string_view body, std::size_t start, std::size_t w,
                          std::size_t k) {
    const std::size_t from = start + (k - 1) * w;
    if (from + w - 1 > body.size()) return {};
    return Mid(body, from, w);
}

std::u16string Capped(std::u16string_view field, std::u16string_view zero,
                      std::u16string_view cap) {
    return std::u16string(field == zero ? cap : field);
}

bool IsScratched(std::u16string_view field, std::u16string_view mark) {
    return field == mark || IsBlank(field);
}

// Runs the header reads. A file that ends inside its header (one PAT98 has
// only begun to write, or an empty one) counts as missing: false.
template <typename F>
bool HeaderRead(F&& read) {
    try {
        read();
        return true;
    } catch (const RunError& e) {
        if (e.number != kErrPastEnd) throw;
        return false;
    }
}

}  // namespace

void ParseWinPlaceOdds(AppState& s, std::string_view bytes) {
    SeqReader in = SeqReader::Over(bytes.substr(0, kOddsMaxBytes));
    const long length = static_cast<long>(in.length());
    std::u16string runners;
    if (!HeaderRead([&] {
            in.skipChars(28);
            in.view(4);
            in.skipChars(16);
            in.view(28 + 28 + 36);
            runners = in.chars(2);
        }))
        return;
    s.RunnerCount = LenientI16(runners);
    const std::u16string body = Body(in, length - 144);

    const int horses = std::min<int>(s.RunnerCount, 18);
    for (int h = 1; h <= horses; ++h) {
        const std::u16string_view e = Entry(body, 1, kHorseEntry, static_cast<std::size_t>(h));
        if (e.empty()) break;
        const std::u16string_view win = Mid(e, 4, 5);
        if (IsScratched(win, kScratched5)) {
            s.WinOdds(h) = kScratched5;
            s.PlaceOddsLow(h) = kScratched5;
            s.PlaceOddsHigh(h).clear();
        } else {
            s.WinOdds(h) = Capped(win, u"  0.0", u" 999.9");
            s.PlaceOddsLow(h) = Capped(Mid(e, 9, 5), u"  0.0", u" 999.9");
            s.PlaceOddsHigh(h) = Capped(Mid(e, 14, 5), u"  0.0", u" 999.9");
        }
    }
    std::size_t k = 0;
    for (int a = 1; a <= 8; ++a) {
        for (int b = a; b <= 8; ++b) {
            const std::u16string_view e = Entry(body, kBracketStart, kBracketEntry, ++k);
            if (e.empty()) return;
            const std::u16string_view odds = Mid(e, 6, 5);
            const std::u16string v = IsScratched(odds, kScratched5)
                                         ? std::u16string(kScratched5)
                                         : Capped(odds, u"  0.0", u"999.9");
            s.BracketOdds(a, b) = v;
            s.BracketOdds(b, a) = v;
        }
    }
}

void ParseQuinellaOdds(AppState& s, std::string_view bytes) {
    SeqReader in = SeqReader::Over(bytes.substr(0, kOddsMaxBytes));
    const long length = static_cast<long>(in.length());
    if (!HeaderRead([&] {
            in.skipChars(28);
            in.view(4);
            in.skipChars(16);
            in.view(92);
            in.skipChars(2 + 2);
        }))
        return;
    const std::u16string body = Body(in, length - 146);
    if (Mid(body, 5, 1) != u"-") return;

    // The entries follow the runner count of the "ZO-" file; pairs beyond
    // the 18 horses of the tables are passed over.
    const int n = s.RunnerCount;
    std::size_t k = 0;
    for (int a = 1; a < n; ++a) {
        for (int b = a + 1; b <= n; ++b) {
            const std::u16string_view e = Entry(body, 1, kPairEntry, ++k);
            if (e.empty()) return;
            if (b > 18) continue;
            const std::u16string_view q = Mid(e, 8, 6);
            std::u16string quinella, low, high;
            if (IsScratched(q, kScratched6)) {
                quinella = low = kScratched6;
            } else {
                quinella = Capped(q, u"   0.0", u"9999.9");
                low = Capped(Mid(e, 14, 6), u"   0.0", u"9999.9");
                high = Capped(Mid(e, 20, 6), u"   0.0", u"9999.9");
            }
            s.QuinellaOdds(a, b) = s.QuinellaOdds(b, a) = quinella;
            s.WideOddsLow(a, b) = s.WideOddsLow(b, a) = low;
            s.WideOddsHigh(a, b) = s.WideOddsHigh(b, a) = high;
        }
    }
}

void ParsePostTime(AppState& s, std::string_view bytes) {
    SeqReader in = SeqReader::Over(bytes.substr(0, kOddsMaxBytes));
    std::u16string hhmm;
    if (!HeaderRead([&] {
            in.skipChars(8);
            in.view(4);
            in.skipChars(10);
            hhmm = in.chars(4);
        }))
        return;
    if (IsBlank(hhmm)) {
        s.PostTime.clear();
        return;
    }
    s.PostTime =
        Dec(LenientI16(Mid(hhmm, 1, 2))) + u"時" + Dec(LenientI16(Mid(hhmm, 3, 2))) + u"分";
}

namespace {

void ReadIfThere(AppState& s, const std::string& path, void (*parse)(AppState&, std::string_view)) {
    const auto found = FindFile(path);
    if (!found) return;
    InFile(*found, [&] { parse(s, ReadPat98File(*found, kOddsMaxBytes)); });
}

}  // namespace

void ReadWinPlaceOdds(AppState& s, const std::string& path) {
    ReadIfThere(s, path, ParseWinPlaceOdds);
}

void ReadQuinellaOdds(AppState& s, const std::string& path) {
    ReadIfThere(s, path, ParseQuinellaOdds);
}

void ReadPostTime(AppState& s, const std::string& path) {
    ReadIfThere(s, path, ParsePostTime);
}

}  // namespace zb
