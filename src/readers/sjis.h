#pragma once
// Shift-JIS (code page 932) in and out. Every code page 932 character is one
// UTF-16 unit, so a decoded text has one unit per character of the file.

#include <string>
#include <string_view>

namespace zb {

// Bytes that cannot be decoded become U+FFFD, one per byte, so a half-written
// file still gives a text of predictable length.
std::u16string DecodeSjis(std::string_view bytes);

// Characters without a code page 932 form become "?".
std::string EncodeSjis(std::u16string_view text);

// Lead byte of a double-byte character.
constexpr bool IsSjisLead(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

std::u16string Utf8ToU16(std::string_view utf8);
std::string U16ToUtf8(std::u16string_view text);

}  // namespace zb
