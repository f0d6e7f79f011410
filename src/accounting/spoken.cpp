#include "accounting/spoken.h"

#include <vector>

namespace zb {

namespace {

// The magnitude in unsigned arithmetic: no value overflows on negation.
uint64_t Magnitude(int64_t v) {
    return v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
}

std::u16string Digits(uint64_t m) {
    std::u16string d;
    for (uint64_t r = m; d.empty() || r > 0; r /= 10)
        d.insert(d.begin(), static_cast<char16_t>(u'0' + r % 10));
    return d;
}

std::u16string Signed(int64_t v, bool plus) {
    // Screen readers say "-" as a hyphen, if at all.
    const std::u16string sign = v < 0 ? u"マイナス " : plus && v > 0 ? u"プラス " : u"";
    return sign + Digits(Magnitude(v));
}

bool AllDigits(std::u16string_view s) {
    for (char16_t c : s)
        if (c < u'0' || c > u'9') return false;
    return !s.empty();
}

// "05" as "5": months and days are said without their leading zero.
std::u16string Unpadded(std::u16string_view s) {
    while (s.size() > 1 && s.front() == u'0') s.remove_prefix(1);
    return std::u16string(s);
}

}  // namespace

std::u16string SpokenYen(int64_t yen) {
    return Signed(yen, false) + u"円";
}

std::u16string SpokenProfit(int64_t yen) {
    return Signed(yen, true) + u"円";
}

std::u16string SpokenRate(int64_t tenths) {
    const uint64_t m = Magnitude(tenths);
    std::u16string r = (tenths < 0 ? u"マイナス " : u"") + Digits(m / 10);
    if (m % 10 != 0) r += u"." + Digits(m % 10);
    return r + u"パーセント";
}

std::u16string SpokenDate(std::u16string_view text) {
    // Split at "/" or "-", or an eight-digit date as it stands in the files.
    std::vector<std::u16string_view> parts;
    if (text.size() == 8 && AllDigits(text)) {
        parts = {text.substr(0, 4), text.substr(4, 2), text.substr(6, 2)};
    } else {
        std::size_t start = 0;
        for (std::size_t i = 0; i <= text.size(); ++i)
            if (i == text.size() || text[i] == u'/' || text[i] == u'-') {
                parts.push_back(text.substr(start, i - start));
                start = i + 1;
            }
    }
    const bool shaped = !parts.empty() && parts.size() <= 3 && parts[0].size() == 4;
    for (std::size_t i = 0; shaped && i < parts.size(); ++i)
        if (!AllDigits(parts[i]) || (i > 0 && parts[i].size() != 2)) return std::u16string(text);
    if (!shaped) return std::u16string(text);
    static const char16_t* const kUnits[] = {u"年", u"月", u"日"};
    std::u16string r;
    for (std::size_t i = 0; i < parts.size(); ++i)
        r += (i == 0 ? std::u16string(parts[i]) : Unpadded(parts[i])) + kUnits[i];
    return r;
}

Spoken SpokenAmount(std::u16string_view caption, int64_t yen) {
    return {std::u16string(caption), SpokenYen(yen)};
}

std::u16string Said(const Spoken& s) {
    if (s.name.empty() || s.value.empty()) return s.name + s.value;
    return s.name + u" " + s.value;
}

}  // namespace zb
