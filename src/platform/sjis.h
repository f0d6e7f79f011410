#pragma once
// Shift-JIS (code page 932) in and out. Every code page 932 character is one
// UTF-16 unit, so a decoded text has one unit per character of the file.
// sjis.cpp holds what every platform shares; sjis_posix.cpp (iconv) and
// sjis_windows.cpp (MultiByteToWideChar) the code page itself.

#include <string>
#include <string_view>

namespace zb {

// A lead byte and the byte after it are one character, assigned or not: an
// unassigned pair, a lead byte at the end and a byte no character starts with
// each become one U+FFFD, so a half-written or odd file keeps its positions.
std::u16string DecodeSjis(std::string_view bytes);

// Characters without a code page 932 form become "?".
std::string EncodeSjis(std::u16string_view text);

// Bytes every Shift-JIS decoding maps to the same code, and back (0x5C and
// 0x7E are left to the converter).
constexpr bool IsPlainSjisByte(unsigned char b) {
    return b < 0x80 && b != 0x5C && b != 0x7E && (b >= 0x20 || b == '\r' || b == '\n');
}

// Lead byte of a double-byte character.
constexpr bool IsSjisLead(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Bytes of the character starting at bytes[pos]: 2 after a lead byte, else 1.
constexpr std::size_t SjisCharBytes(std::string_view bytes, std::size_t pos) {
    return IsSjisLead(static_cast<unsigned char>(bytes[pos])) ? 2 : 1;
}

std::u16string Utf8ToU16(std::string_view utf8);
// Lone surrogates give bytes that are not UTF-8; no decoder produces them.
std::string U16ToUtf8(std::u16string_view text);
#ifdef _WIN32
// A UTF-8 path for the wide-character calls of Windows.
std::wstring Wide(std::string_view utf8);
#endif

namespace platform {

// The code page's own conversion of a whole text. False, with out left as it
// was, when any character is invalid or unassigned.
bool DecodeSjisStrict(std::string_view bytes, std::u16string& out);
std::string EncodeSjis(std::u16string_view text);

}  // namespace platform

}  // namespace zb
