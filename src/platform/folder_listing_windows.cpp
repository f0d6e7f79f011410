// Names are folded as the file system compares them: upper case by the
// system's own table, not by a locale.
#ifdef _WIN32

#include <windows.h>

#include "platform/folder_index.h"
#include "platform/sjis.h"

namespace zb::platform {

namespace {

std::string Utf8(const wchar_t* w) {
    std::u16string u;
    for (; *w; ++w) u.push_back(static_cast<char16_t>(*w));
    return U16ToUtf8(u);
}

}  // namespace

bool ListFolder(const std::string& folder, std::vector<ListedName>& out) {
    std::string pattern = folder;
    if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/' &&
        pattern.back() != ':')
        pattern += '\\';
    pattern += '*';
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW(Wide(pattern).c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        const std::wstring_view name = fd.cFileName;
        if (name == L"." || name == L"..") continue;
        NameKind kind = NameKind::kRegular;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
            kind = NameKind::kUnknown;
        else if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            kind = NameKind::kFolder;
        out.push_back({Utf8(fd.cFileName), kind});
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return true;
}

NameKind KindOf(const std::string& path) {
    const DWORD attr = GetFileAttributesW(Wide(path).c_str());
    if (attr == INVALID_FILE_ATTRIBUTES) return NameKind::kOther;
    return (attr & FILE_ATTRIBUTE_DIRECTORY) ? NameKind::kFolder : NameKind::kRegular;
}

std::string FoldName(std::string_view name) {
    std::wstring w = Wide(name);
    if (!w.empty()) CharUpperBuffW(w.data(), static_cast<DWORD>(w.size()));
    std::u16string u(w.begin(), w.end());
    return U16ToUtf8(u);
}

std::size_t NameStart(std::string_view path) {
    const std::size_t sep = path.find_last_of("\\/:");
    return sep == std::string_view::npos ? 0 : sep + 1;
}

}  // namespace zb::platform

#endif
