#pragma once
// Quick paths for the readers' hot loops: plain digit fields and plain ASCII
// blocks are converted directly, everything else goes through the general
// conversions, so the results are the same either way.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/sjis.h"
#include "readers/text.h"

namespace zb {

namespace quick {

constexpr bool IsBlankUnit(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\u3000';
}
constexpr bool IsDigitUnit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// Blanks, 1 to 9 digits, blanks: true with the value; anything else false.
inline bool PlainNumber(std::u16string_view s, bool lenient, int32_t& value) {
    std::size_t i = 0;
    while (i < s.size() && IsBlankUnit(s[i])) ++i;
    std::size_t start = i;
    int32_t v = 0;
    while (i < s.size() && IsDigitUnit(s[i]) && i - start < 9) v = v * 10 + (s[i++] - u'0');
    if (i == start) return false;
    if (i < s.size() && (IsDigitUnit(s[i]) || s[i] == u'.')) return false;
    if (!lenient) {
        while (i < s.size() && IsBlankUnit(s[i])) ++i;
        if (i != s.size()) return false;
    }
    value = v;
    return true;
}

}  // namespace quick

inline int16_t QuickStrictI16(std::u16string_view s) {
    int32_t v;
    if (quick::PlainNumber(s, false, v) && v <= INT16_MAX) return static_cast<int16_t>(v);
    return StrictI16(s);
}
inline int32_t QuickStrictI32(std::u16string_view s) {
    int32_t v;
    return quick::PlainNumber(s, false, v) ? v : StrictI32(s);
}
inline int16_t QuickLenientI16(std::u16string_view s) {
    int32_t v;
    if (quick::PlainNumber(s, true, v) && v <= INT16_MAX) return static_cast<int16_t>(v);
    return LenientI16(s);
}
inline int32_t QuickLenientI32(std::u16string_view s) {
    int32_t v;
    return quick::PlainNumber(s, true, v) ? v : LenientI32(s);
}

// Bytes every Shift-JIS decoding maps to the same code (0x5C and 0x7E are
// left to the converter).
inline bool IsPlainAscii(std::string_view bytes) {
    for (char ch : bytes) {
        const unsigned char b = static_cast<unsigned char>(ch);
        if (b >= 0x80 || b == 0x5C || b == 0x7E) return false;
        if (b < 0x20 && b != '\r' && b != '\n') return false;
    }
    return true;
}

inline std::u16string QuickDecodeSjis(std::string_view bytes) {
    if (!IsPlainAscii(bytes)) return DecodeSjis(bytes);
    return std::u16string(bytes.begin(), bytes.end());
}

}  // namespace zb
