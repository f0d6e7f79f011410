// Code page 932 through the system's own conversion.
#ifdef _WIN32

#include <windows.h>

#include "platform/sjis.h"

namespace zb::platform {

bool DecodeSjisStrict(std::string_view bytes, std::u16string& out) {
    if (bytes.empty()) return true;
    const int len = static_cast<int>(bytes.size());
    const int n = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes.data(), len, nullptr, 0);
    if (n <= 0) return false;
    const std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(n));
    MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes.data(), len,
                        reinterpret_cast<wchar_t*>(out.data() + at), n);
    return true;
}

std::string EncodeSjis(std::u16string_view text) {
    std::string out;
    if (text.empty()) return out;
    auto w = reinterpret_cast<const wchar_t*>(text.data());
    const int len = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(932, 0, w, len, nullptr, 0, "?", nullptr);
    out.resize(static_cast<std::size_t>(n));
    WideCharToMultiByte(932, 0, w, len, out.data(), n, "?", nullptr);
    return out;
}

}  // namespace zb::platform

namespace zb {

std::wstring Wide(std::string_view utf8) {
    const std::u16string u = Utf8ToU16(utf8);
    return std::wstring(u.begin(), u.end());
}

}  // namespace zb

#endif
