// The file system is case-insensitive already; paths go to the wide-character
// functions, so names outside the ANSI code page work too.
#ifdef _WIN32

#include <windows.h>

#include "platform/file_lookup.h"
#include "platform/sjis.h"
#include "startup/run_error.h"

namespace zb {

namespace {

std::wstring Wide(const std::string& utf8) {
    const std::u16string u = Utf8ToU16(utf8);
    return std::wstring(u.begin(), u.end());
}

}  // namespace

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string p(folder);
    p += name;
    for (char& c : p)
        if (c == '/') c = '\\';
    return p;
}

std::optional<std::string> FindFile(const std::string& path) {
    if (path.empty()) return std::nullopt;
    const DWORD attr = GetFileAttributesW(Wide(path).c_str());
    if (attr == INVALID_FILE_ATTRIBUTES || (attr & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
    return path;
}

bool FileExists(const std::string& path) {
    return FindFile(path).has_value();
}

std::string ReadFileBytes(const std::string& path) {
    if (!FindFile(path)) Fail(kErrFileNotFound);
    // PAT98 may be writing the file: share it for every kind of access.
    HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) Fail(kErrPathFileAccess);
    std::string data;
    char buf[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(h, buf, sizeof buf, &got, nullptr) != 0) && got > 0)
        data.append(buf, got);
    CloseHandle(h);
    if (!ok) Fail(kErrPathFileAccess);
    return data;
}

}  // namespace zb

#endif
