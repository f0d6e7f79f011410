#include "startup/text.h"

#include <cmath>
#include <optional>

#include "platform/run_error.h"

namespace zb {

std::u16string PadTo(std::u16string_view s, std::size_t n) {
    std::u16string r(s.substr(0, n));
    r.resize(n, u' ');
    return r;
}

namespace {

template <typename Ch>
bool IsBlankCh(Ch c) {
    return c == ' ' || c == '\t' || c == u'\u3000';
}

// Reads [sign] digits [. digits] starting at i; returns the value and moves i.
template <typename Ch>
std::optional<long double> ParseNumber(std::basic_string_view<Ch> s, std::size_t& i) {
    std::size_t start = i;
    bool neg = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        neg = s[i] == '-';
        ++i;
    }
    long double v = 0;
    bool any = false;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        v = v * 10 + (s[i] - '0');
        any = true;
        ++i;
    }
    if (i < s.size() && s[i] == '.') {
        std::size_t save = i;
        ++i;
        long double scale = 0.1L;
        bool frac = false;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
            v += (s[i] - '0') * scale;
            scale /= 10;
            frac = true;
            ++i;
        }
        if (!frac && !any) i = save;
        any = any || frac;
    }
    if (!any) {
        i = start;
        return std::nullopt;
    }
    return neg ? -v : v;
}

template <typename T>
T RoundTo(long double v) {
    long double r = std::nearbyint(v);  // default rounding: halves to even
    if (!(r >= static_cast<long double>(INT64_MIN) && r <= static_cast<long double>(INT64_MAX)))
        Fail(kErrOverflow);
    long long ll = static_cast<long long>(r);
    T out;
    if (__builtin_add_overflow(ll, 0LL, &out)) Fail(kErrOverflow);
    return out;
}

template <typename T, typename Ch>
T Lenient(std::basic_string_view<Ch> s) {
    std::size_t i = 0;
    while (i < s.size() && IsBlankCh(s[i])) ++i;
    auto v = ParseNumber(s, i);
    return v ? RoundTo<T>(*v) : T{0};
}

template <typename T>
T Strict(std::u16string_view s) {
    std::size_t i = 0;
    while (i < s.size() && IsBlankCh(s[i])) ++i;
    auto v = ParseNumber(s, i);
    if (!v) Fail(kErrTypeMismatch);
    while (i < s.size() && IsBlankCh(s[i])) ++i;
    if (i != s.size()) Fail(kErrTypeMismatch);
    return RoundTo<T>(*v);
}

}  // namespace

int16_t LenientI16(std::u16string_view s) {
    return Lenient<int16_t>(s);
}
int32_t LenientI32(std::u16string_view s) {
    return Lenient<int32_t>(s);
}
int16_t LenientI16(std::string_view s) {
    return Lenient<int16_t>(s);
}
int32_t LenientI32(std::string_view s) {
    return Lenient<int32_t>(s);
}
int16_t StrictI16(std::u16string_view s) {
    return Strict<int16_t>(s);
}
int32_t StrictI32(std::u16string_view s) {
    return Strict<int32_t>(s);
}

std::u16string Dec(long long n) {
    return Ascii(std::to_string(n));
}

std::u16string TwoDigits(long n) {
    if (n >= 0 && n < 100)
        return {static_cast<char16_t>(u'0' + n / 10), static_cast<char16_t>(u'0' + n % 10)};
    return Dec(n);
}

std::u16string Hex(long n) {
    static const char16_t* digits = u"0123456789ABCDEF";
    if (n < 0) Fail(kErrInvalidCall);
    std::u16string r;
    do {
        r.insert(r.begin(), digits[n % 16]);
        n /= 16;
    } while (n > 0);
    return r;
}

std::u16string Ascii(std::string_view s) {
    return std::u16string(s.begin(), s.end());
}

std::string Narrow(std::u16string_view s) {
    std::string r;
    r.reserve(s.size());
    for (char16_t c : s) r.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return r;
}

bool IsBlank(std::u16string_view s) {
    for (char16_t c : s)
        if (c != u' ') return false;
    return true;
}

std::u16string_view TrimBlanks(std::u16string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && IsBlankCh(s[b])) ++b;
    while (e > b && IsBlankCh(s[e - 1])) --e;
    return s.substr(b, e - b);
}

}  // namespace zb
