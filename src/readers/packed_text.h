#pragma once
// Short texts packed into integers for fast sorting. Characters below 0x100
// take a byte each, the first highest, so that packed texts of one length
// compare as the texts do.

#include <bit>
#include <cstdint>
#include <cstring>

namespace zb {

// Up to 8 characters at p into key, the unused low bytes 0. False when some
// character is 0x100 or more (the key is then of no use).
inline bool PackText(const char16_t* p, std::size_t n, uint64_t& key) {
    if constexpr (std::endian::native == std::endian::little) {
        if (n == 8) {
            // Four characters at a time: their high bytes must be 0, their
            // low bytes are gathered and put in text order.
            uint64_t w[2];
            std::memcpy(w, p, sizeof w);
            if (((w[0] | w[1]) & 0xFF00FF00FF00FF00ull) != 0) return false;
            uint64_t four[2];
            for (int h = 0; h < 2; ++h) {
                uint64_t x = (w[h] | (w[h] >> 8)) & 0x0000FFFF0000FFFFull;
                four[h] = __builtin_bswap32(static_cast<uint32_t>(x | (x >> 16)));
            }
            key = (four[0] << 32) | four[1];
            return true;
        }
    }
    uint64_t k = 0;
    unsigned seen = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        const char16_t c = i < n ? p[i] : u'\0';
        k = (k << 8) | (c & 0xFFu);
        seen |= c;
    }
    key = k;
    return seen < 0x100;
}

}  // namespace zb
