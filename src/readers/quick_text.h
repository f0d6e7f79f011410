#pragma once
// Quick paths for the readers' hot loops: plain digit fields and plain ASCII
// blocks are converted directly, everything else goes through the general
// conversions, so the results are the same either way.

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/sjis.h"
#include "startup/text.h"

namespace zb {

namespace quick {

template <typename Ch>
constexpr bool IsBlankUnit(Ch c) {
    return c == Ch(' ') || c == Ch('\t') || (sizeof(Ch) > 1 && c == Ch(u'\u3000'));
}
template <typename Ch>
constexpr bool IsDigitUnit(Ch c) {
    return c >= Ch('0') && c <= Ch('9');
}

// Blanks, 1 to 9 digits, blanks: true with the value; anything else false.
template <typename Ch>
inline bool PlainNumber(std::basic_string_view<Ch> s, bool lenient, int32_t& value) {
    // The usual field, one to nine digits and nothing else, in one loop.
    if (!s.empty() && s.size() <= 9) {
        int32_t v = 0;
        std::size_t i = 0;
        while (i < s.size() && IsDigitUnit(s[i])) v = v * 10 + (s[i++] - Ch('0'));
        if (i == s.size()) {
            value = v;
            return true;
        }
    }
    std::size_t i = 0;
    while (i < s.size() && IsBlankUnit(s[i])) ++i;
    std::size_t start = i;
    int32_t v = 0;
    while (i < s.size() && IsDigitUnit(s[i]) && i - start < 9) v = v * 10 + (s[i++] - Ch('0'));
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
// The same on bytes, as the lenient conversions read them.
inline int16_t QuickLenientI16(std::string_view s) {
    int32_t v;
    if (quick::PlainNumber(s, true, v) && v <= INT16_MAX) return static_cast<int16_t>(v);
    return LenientI16(s);
}
inline int32_t QuickLenientI32(std::string_view s) {
    int32_t v;
    return quick::PlainNumber(s, true, v) ? v : LenientI32(s);
}

constexpr bool IsPlainByte(unsigned char b) {
    return IsPlainSjisByte(b);
}

// Eight bytes at a time. One test flags a word holding a byte of 0x80 or
// more, 0x5C, 0x7E or a control byte (for bytes below 0x80 each part is
// exact, and a flag on a byte of 0x80 or more is a flag all the same); a
// flagged word is looked at byte by byte, where line ends pass.
inline bool IsPlainAscii(std::string_view bytes) {
    constexpr uint64_t k01 = 0x0101010101010101ull, k80 = 0x8080808080808080ull;
    const auto zeroBytes = [](uint64_t v) { return (v - k01) & ~v; };
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t w;
        std::memcpy(&w, p + i, 8);
        const uint64_t flags =
            w | zeroBytes(w ^ (0x5C * k01)) | zeroBytes(w ^ (0x7E * k01)) | ((w - 0x20 * k01) & ~w);
        if ((flags & k80) != 0)
            for (std::size_t j = i; j < i + 8; ++j)
                if (!IsPlainByte(p[j])) return false;
    }
    for (; i < n; ++i)
        if (!IsPlainByte(p[i])) return false;
    return true;
}

// Plain ASCII bytes to their units, into out (resized).
inline void WidenAscii(std::string_view bytes, std::u16string& out) {
    out.resize(bytes.size());
    char16_t* o = out.data();
    for (std::size_t i = 0; i < bytes.size(); ++i) o[i] = static_cast<unsigned char>(bytes[i]);
}

inline std::u16string QuickDecodeSjis(std::string_view bytes) {
    if (!IsPlainAscii(bytes)) return DecodeSjis(bytes);
    std::u16string out;
    WidenAscii(bytes, out);
    return out;
}

}  // namespace zb
