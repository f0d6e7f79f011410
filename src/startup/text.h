#pragma once
// Field cutting and number conversions shared by the settings and every reader.
// Positions are 1-based characters, as the file layouts count them.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace zb {

// A fixed-length text: assignment cuts or fills with blanks, like a fixed string.
template <std::size_t N>
struct FixedText {
    std::array<char16_t, N> c;
    FixedText() { c.fill(u' '); }
    FixedText(std::u16string_view s) { assign(s); }  // NOLINT: implicit on purpose
    void assign(std::u16string_view s) {
        std::size_t n = s.size() < N ? s.size() : N;
        for (std::size_t i = 0; i < n; ++i) c[i] = s[i];
        for (std::size_t i = n; i < N; ++i) c[i] = u' ';
    }
    std::u16string_view view() const { return {c.data(), N}; }
    std::u16string str() const { return std::u16string(view()); }
    // Characters pos..pos+len-1 (1-based); the part beyond the end is left out.
    std::u16string_view mid(std::size_t pos, std::size_t len) const;
    static constexpr std::size_t size() { return N; }
    bool operator==(const FixedText&) const = default;
    auto operator<=>(const FixedText& o) const { return view().compare(o.view()) <=> 0; }
};

// Characters pos..pos+len-1 (1-based) of s; what lies beyond the end is left out.
inline std::u16string_view Mid(std::u16string_view s, std::size_t pos, std::size_t len) {
    if (pos < 1 || pos > s.size()) return {};
    return s.substr(pos - 1, len);
}
// The same on bytes (plain ASCII, where bytes are characters).
inline std::string_view Mid(std::string_view s, std::size_t pos, std::size_t len) {
    if (pos < 1 || pos > s.size()) return {};
    return s.substr(pos - 1, len);
}
// Characters pos.. to the end.
inline std::u16string_view MidToEnd(std::u16string_view s, std::size_t pos) {
    if (pos < 1 || pos > s.size()) return {};
    return s.substr(pos - 1);
}

template <std::size_t N>
std::u16string_view FixedText<N>::mid(std::size_t pos, std::size_t len) const {
    return Mid(view(), pos, len);
}

// s cut after n characters or filled with blanks to n.
std::u16string PadTo(std::u16string_view s, std::size_t n);

// Lenient: the number at the start of the text, leading blanks ignored, 0 when
// there is none; rounded to the nearest integer (halves to even). A number
// beyond the width is failure 6.
int16_t LenientI16(std::u16string_view s);
int32_t LenientI32(std::u16string_view s);
int16_t LenientI16(std::string_view s);
int32_t LenientI32(std::string_view s);

// Strict: the whole text is a number, blanks around it allowed. Anything else,
// an all-blank text included, is failure 13; beyond the width failure 6.
int16_t StrictI16(std::u16string_view s);
int32_t StrictI32(std::u16string_view s);

// "05" for 5, "12" for 12: numbers below 10 get a leading 0.
std::u16string TwoDigits(long n);
// Upper-case hexadecimal without leading zeros: 10 gives "A".
std::u16string Hex(long n);
// Plain decimal text, a minus sign when negative.
std::u16string Dec(long long n);

// ASCII text to UTF-16 and back (file names, digits).
std::u16string Ascii(std::string_view s);
std::string Narrow(std::u16string_view s);

bool IsBlank(std::u16string_view s);
std::u16string_view TrimBlanks(std::u16string_view s);

}  // namespace zb
