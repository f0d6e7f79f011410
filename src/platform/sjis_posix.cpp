// Code page 932 through glibc's iconv ("CP932": 0x5C stays a backslash,
// half-width katakana are one byte each).
#ifndef _WIN32

#include <iconv.h>

#include <stdexcept>

#include "platform/sjis.h"

namespace zb::platform {

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

}  // namespace

bool DecodeSjisStrict(std::string_view bytes, std::u16string& out) {
    static Converter conv("UTF-16LE", "CP932");
    if (bytes.empty()) return true;
    // Every character takes at least one byte and gives one unit.
    std::u16string buf(bytes.size() + 1, u'\0');
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char* outp = reinterpret_cast<char*>(buf.data());
    std::size_t outLeft = buf.size() * sizeof(char16_t);
    const std::size_t r = iconv(conv.cd, &in, &inLeft, &outp, &outLeft);
    iconv(conv.cd, nullptr, nullptr, nullptr, nullptr);
    if (r == static_cast<std::size_t>(-1) || inLeft != 0) return false;
    out.append(buf.data(),
               static_cast<std::size_t>(reinterpret_cast<char16_t*>(outp) - buf.data()));
    return true;
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

}  // namespace zb::platform

#endif
