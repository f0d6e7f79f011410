#include "readers/sjis.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <cerrno>
#include <stdexcept>
#include <vector>

namespace zb {

#ifndef _WIN32
namespace {

// One iconv descriptor per direction, opened on first use.
struct Converter {
    iconv_t cd;
    Converter(const char* to, const char* from) : cd(iconv_open(to, from)) {
        if (cd == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    }
    ~Converter() { iconv_close(cd); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
};

// Converts one piece; returns the number of input bytes consumed or 0 when the
// first character is invalid or incomplete.
std::size_t ConvertSome(iconv_t cd, const char* in, std::size_t inLen, std::u16string& out) {
    char16_t buf[512];
    char* inp = const_cast<char*>(in);
    std::size_t inLeft = inLen;
    std::size_t consumed = 0;
    while (inLeft > 0) {
        char* outp = reinterpret_cast<char*>(buf);
        std::size_t outLeft = sizeof buf;
        std::size_t r = iconv(cd, &inp, &inLeft, &outp, &outLeft);
        out.append(buf, static_cast<std::size_t>(reinterpret_cast<char16_t*>(outp) - buf));
        consumed = inLen - inLeft;
        if (r == static_cast<std::size_t>(-1) && errno != E2BIG) break;
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    return consumed;
}

}  // namespace

std::u16string DecodeSjis(std::string_view bytes) {
    static Converter conv("UTF-16LE", "CP932");
    std::u16string out;
    out.reserve(bytes.size());
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t n = ConvertSome(conv.cd, bytes.data() + pos, bytes.size() - pos, out);
        pos += n;
        if (pos < bytes.size() && n == 0) {
            out.push_back(u'\uFFFD');
            ++pos;
        }
    }
    return out;
}

std::string EncodeSjis(std::u16string_view text) {
    static Converter conv("CP932", "UTF-16LE");
    std::string out;
    out.reserve(text.size() * 2);
    for (char16_t c : text) {
        char in[2] = {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
        char buf[8];
        char* inp = in;
        std::size_t inLeft = 2;
        char* outp = buf;
        std::size_t outLeft = sizeof buf;
        if (iconv(conv.cd, &inp, &inLeft, &outp, &outLeft) == static_cast<std::size_t>(-1)) {
            iconv(conv.cd, nullptr, nullptr, nullptr, nullptr);
            out.push_back('?');
        } else {
            out.append(buf, static_cast<std::size_t>(outp - buf));
        }
    }
    return out;
}

#else

std::u16string DecodeSjis(std::string_view bytes) {
    std::u16string out;
    if (bytes.empty()) return out;
    int n = MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    out.resize(static_cast<std::size_t>(n));
    MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()),
                        reinterpret_cast<wchar_t*>(out.data()), n);
    return out;
}

std::string EncodeSjis(std::u16string_view text) {
    std::string out;
    if (text.empty()) return out;
    auto w = reinterpret_cast<const wchar_t*>(text.data());
    int n = WideCharToMultiByte(932, 0, w, static_cast<int>(text.size()), nullptr, 0, "?", nullptr);
    out.resize(static_cast<std::size_t>(n));
    WideCharToMultiByte(932, 0, w, static_cast<int>(text.size()), out.data(), n, "?", nullptr);
    return out;
}

#endif

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
