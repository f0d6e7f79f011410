#include "platform/sjis.h"

#include <algorithm>

namespace zb {

namespace {

std::size_t CountChars(std::string_view bytes) {
    std::size_t n = 0;
    for (std::size_t p = 0; p < bytes.size(); p += SjisCharBytes(bytes, p)) ++n;
    return n;
}

}  // namespace

std::u16string DecodeSjis(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    if (platform::DecodeSjisStrict(bytes, out) && out.size() == CountChars(bytes)) return out;
    // Something the code page rejects: one character at a time, so each
    // rejected one costs exactly one unit.
    out.clear();
    for (std::size_t p = 0; p < bytes.size();) {
        const std::size_t n = std::min(SjisCharBytes(bytes, p), bytes.size() - p);
        const std::size_t before = out.size();
        if (!platform::DecodeSjisStrict(bytes.substr(p, n), out) || out.size() != before + 1) {
            out.resize(before);
            out.push_back(u'\uFFFD');
        }
        p += n;
    }
    return out;
}

std::string EncodeSjis(std::u16string_view text) {
    // Plain ASCII is its own code page 932 form: no converter needed.
    std::string out(text.size(), '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] >= 0x80 || !IsPlainSjisByte(static_cast<unsigned char>(text[i])))
            return platform::EncodeSjis(text);
        out[i] = static_cast<char>(text[i]);
    }
    return out;
}

std::u16string Utf8ToU16(std::string_view s) {
    std::u16string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        char32_t cp;
        std::size_t len;
        if (c < 0x80) {
            cp = c;
            len = 1;
        } else if ((c >> 5) == 0x6) {
            cp = c & 0x1F;
            len = 2;
        } else if ((c >> 4) == 0xE) {
            cp = c & 0x0F;
            len = 3;
        } else if ((c >> 3) == 0x1E) {
            cp = c & 0x07;
            len = 4;
        } else {
            out.push_back(u'\uFFFD');
            ++i;
            continue;
        }
        if (i + len > s.size()) {
            out.push_back(u'\uFFFD');
            break;
        }
        bool ok = true;
        for (std::size_t k = 1; k < len; ++k) {
            unsigned char d = static_cast<unsigned char>(s[i + k]);
            if ((d >> 6) != 0x2) ok = false;
            cp = (cp << 6) | (d & 0x3F);
        }
        i += ok ? len : 1;
        if (!ok) {
            out.push_back(u'\uFFFD');
        } else if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

std::string U16ToUtf8(std::u16string_view t) {
    std::string out;
    out.reserve(t.size() * 3);
    for (std::size_t i = 0; i < t.size(); ++i) {
        char32_t cp = t[i];
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < t.size() && t[i + 1] >= 0xDC00 &&
            t[i + 1] < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (t[i + 1] - 0xDC00);
            ++i;
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

}  // namespace zb
