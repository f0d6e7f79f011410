// The file system is case-insensitive already; paths go to the wide-character
// functions, so names outside the ANSI code page work too.
#ifdef _WIN32

#include <windows.h>

#include <algorithm>

#include "platform/file_lookup.h"
#include "platform/folder_index.h"
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
    if (auto known = FindInPass(path)) return *known;
    const DWORD attr = GetFileAttributesW(Wide(path).c_str());
    if (attr == INVALID_FILE_ATTRIBUTES || (attr & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
    return path;
}

bool FileExists(const std::string& path) {
    return FindFile(path).has_value();
}

std::string ReadFileBytes(const std::string& path) {
    const auto real = FindFile(path);
    if (!real) Fail(kErrFileNotFound);
    // PAT98 may be writing the file: share it for every kind of access.
    HANDLE h = CreateFileW(Wide(*real).c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        Fail(GetLastError() == ERROR_FILE_NOT_FOUND ? kErrFileNotFound : kErrPathFileAccess);
    LARGE_INTEGER size;
    if (!GetFileSizeEx(h, &size)) size.QuadPart = 0;
    // One read in the usual case: a byte more than the size, so that a short
    // read tells the end. A file that grew meanwhile is read on to its end.
    std::string data(static_cast<std::size_t>(size.QuadPart) + 1, '\0');
    std::size_t got = 0;
    bool ok = true;
    for (;;) {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(data.size() - got, 1u << 30));
        DWORD n = 0;
        if (!ReadFile(h, data.data() + got, want, &n, nullptr)) {
            ok = false;
            break;
        }
        if (n == 0) break;
        got += n;
        if (n < want) break;
        if (got == data.size()) data.resize(data.size() * 2);
    }
    CloseHandle(h);
    if (!ok) Fail(kErrPathFileAccess);
    data.resize(got);
    return data;
}

}  // namespace zb

#endif
