#include "accounting/bet_list.h"

#include <array>
#include <string>

#include "readers/quick_text.h"

namespace zb {

namespace {

// Blanks in front up to n characters; a longer text stays as it is.
std::u16string Right(std::u16string_view t, std::size_t n) {
    std::u16string r;
    if (t.size() < n) r.assign(n - t.size(), u' ');
    r += t;
    return r;
}

// A number below 10 gets one blank in front.
std::u16string TwoWide(long n) {
    return n < 10 ? u" " + Dec(n) : Dec(n);
}

const char16_t* const kVenues[] = {u"札幌", u"函館", u"福島", u"新潟", u"東京",
                                   u"中山", u"中京", u"京都", u"阪神", u"小倉"};

std::u16string DayColumn(int kind) {
    switch (kind) {
        case 1:
            return u"    ";
        case 2:
            return u"明日";
        case 3:
            return u"前売";
        default:
            return u"????";
    }
}

std::u16string VenueColumn(int venue) {
    return venue >= 1 && venue <= 10 ? kVenues[venue - 1] : u"????";
}

std::u16string BetColumn(int type, int first, int second) {
    const std::u16string t = BetTypeText(type, TwoWide(first), TwoWide(second));
    return t.empty() ? u"????     " : u" " + t;
}

std::u16string AcceptWord(int code) {
    switch (code) {
        case 1:
            return u"受付";
        case 11:
            return u"無効";
        case 21:
            return u"同枠";
        case 31:
            return u"締切";
        default:
            return u"E-" + Dec(code);
    }
}

std::u16string ResultWord(int code) {
    switch (code) {
        case 0:
            return u"";
        case 1:
            return u"的中";
        case 2:
            return u"ﾊｽﾞﾚ";
        case 3:
            return u"返還";
        case 9:
            return u"----";
        default:
            return u"????";
    }
}

const char16_t* const kHeadings[kListViews] = {u"【全履歴】",
                                               u"【受付けられたベット】  ___ベット投票可能",
                                               u"【未確定のベット】", u"【的中しているベット】"};

std::u16string SubtotalLine(int32_t total) {
    return std::u16string(30, u' ') + u"= " + Right(Dec(total), 8) + u"\r\n";
}

}  // namespace

std::u16string BetTypeText(int type, const std::u16string& first, const std::u16string& second) {
    switch (type) {
        case 1:
            return u"単 " + second + u"   ";
        case 2:
            return u"複 " + second + u"   ";
        case 3:
            return u"枠 " + first + u"-" + second;
        case 4:
            return u"馬 " + first + u"-" + second;
        case 5:
            return u"ワ " + first + u"-" + second;
        default:
            return u"";
    }
}

std::string VenueName(int venue) {
    static constexpr std::array<const char*, 10> kNames = {"札幌", "函館", "福島", "新潟", "東京",
                                                           "中山", "中京", "京都", "阪神", "小倉"};
    return venue >= 1 && venue <= 10 ? kNames.at(static_cast<std::size_t>(venue - 1))
                                     : std::to_string(venue);
}

std::string BetTypeName(int type) {
    static constexpr std::array<const char*, 5> kNames = {"単勝", "複勝", "枠連", "馬連", "ワイド"};
    return type >= 1 && type <= 5 ? kNames.at(static_cast<std::size_t>(type - 1))
                                  : std::to_string(type);
}

std::u16string OddsText(int32_t per100) {
    const long long p = per100;
    const long long a = p < 0 ? -p : p;
    std::u16string t = (p < 0 ? u"-" : u"") + Dec(a / 100) + u".";
    const long long cents = a % 100;
    if (cents == 0) return t + u"0";
    if (cents % 10 == 0) return t + Dec(cents / 10);
    return t + (cents < 10 ? u"0" : u"") + Dec(cents);
}

void listdsp(AppState& s) {
    s.CurrentProc = "listdsp";
    s.AcceptedCount = 0;
    const int view = s.ListView;
    if (view < 0 || view >= kListViews) Fail(kErrSubscript);
    // Built aside: a failure leaves the text shown before.
    std::u16string text = kHeadings[view];
    text += u"\r\n";
    int16_t accepted = 0;
    int32_t total = 0;
    std::u16string_view previous = u"00000";
    for (int i = 0; i < s.BetCount; ++i) {
        const BetRecord& rec = s.BetLog(i);
        const int kind = QuickStrictI16(rec.mid(1, 1));
        const int venue = QuickStrictI16(rec.mid(2, 2));
        const int race = QuickStrictI16(rec.mid(4, 2));
        const int type = QuickStrictI16(rec.mid(6, 1));
        const int first = QuickStrictI16(rec.mid(7, 2));
        const int second = QuickStrictI16(rec.mid(9, 2));
        const int32_t units = QuickStrictI32(rec.mid(11, 4));
        const int accept = QuickStrictI16(rec.mid(15, 2));
        const int result = QuickStrictI16(rec.mid(17, 1));
        const std::u16string_view reference = rec.mid(24, 4);

        bool kept = view == 0;
        if (view == 1 && accept == 1) {
            kept = true;
            accepted = Add<int16_t>(accepted, 1);
        }
        if (view == 2) kept = result == 0;
        if (view == 3) kept = result == 1 || result == 3;
        if (!kept) continue;

        const std::u16string_view key = rec.mid(1, 5);
        if (key != previous) {
            if (view == 3 && total > 0) {
                text += SubtotalLine(total);
                total = 0;
            }
            text += u"\r\n";
            previous = key;
        }
        std::u16string line = DayColumn(kind) + u" " + VenueColumn(venue) + u" " + TwoWide(race) +
                              u"R " + BetColumn(type, first, second) + u" " +
                              Right(Dec(Mul<int32_t>(units, 100)), 6) + u"  ";
        if (view == 0) {
            line += AcceptWord(accept) + u" ";
            if (!IsBlank(reference)) line += u"(" + std::u16string(reference) + u")";
        }
        if (view == 1 || view == 2) line += ResultWord(result);
        if (view == 3 || (view == 1 && result == 1)) {
            const int32_t per100 = QuickLenientI32(rec.mid(18, 6));
            total = Add(total, Mul(units, per100));
            line += (view == 3 ? u"x " : u" ") + Right(OddsText(per100), 6);
        }
        text += line + u"\r\n";
    }
    if (view == 3 && total > 0) text += SubtotalLine(total);
    if (view == 1) {
        const std::size_t at = text.find(u"___");
        if (at != std::u16string::npos) text.replace(at, 3, Dec(900 - accepted));
    }
    s.ReportText = std::move(text);
    s.AcceptedCount = accepted;
}

}  // namespace zb
