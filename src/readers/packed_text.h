#pragma once
// Short texts packed into integers for fast lookups and sorting. Characters
// below 0x80 take 7 bits each, the first highest, so that packed keys of
// texts of one length compare as the texts do.

#include <cstdint>
#include <string_view>

namespace zb {

constexpr std::size_t kPackedChars = 9;  // 63 bits

// False when some character is not below 0x80 (the key is then of no use).
inline bool PackText(std::u16string_view t, uint64_t& key) {
    uint64_t k = 0;
    unsigned seen = 0;
    for (char16_t c : t) {
        k = (k << 7) | (c & 0x7Fu);
        seen |= c;
    }
    key = k;
    return seen < 0x80 && t.size() <= kPackedChars;
}

}  // namespace zb
