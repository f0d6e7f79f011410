// The file system is case-insensitive already; paths go to the wide-character
// functions, so names outside the ANSI code page work too.
#ifdef _WIN32

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <utility>

#include "platform/file_lookup.h"
#include "platform/folder_index.h"
#include "platform/run_error.h"
#include "platform/sjis.h"

namespace zb {

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string p(folder);
    p += name;
    for (char& c : p)
        if (c == '/') c = '\\';
    return p;
}

std::optional<std::string> FindFile(const std::string& path) {
    if (path.empty()) return std::nullopt;
    if (auto known = FindInPass(path)) return std::move(*known);
    const DWORD attr = GetFileAttributesW(Wide(path).c_str());
    if (attr == INVALID_FILE_ATTRIBUTES || (attr & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
    return path;
}

bool FolderExists(const std::string& path) {
    if (path.empty()) return false;
    const DWORD attr = GetFileAttributesW(Wide(JoinPath(path, "")).c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadFoundFile(const std::string& real, std::size_t maxBytes) {
    // PAT98 may be writing the file: share it for every kind of access.
    HANDLE h = CreateFileW(Wide(real).c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        Fail(GetLastError() == ERROR_FILE_NOT_FOUND ? kErrFileNotFound : kErrPathFileAccess);
    // One read in the usual case: PAT98 files are far smaller than the
    // buffer, and a short read is the end. A longer file is read on.
    thread_local std::string buffer(std::size_t{1} << 16, '\0');
    std::string data;
    bool ok = true;
    while (data.size() < maxBytes) {
        const DWORD want = static_cast<DWORD>(std::min(buffer.size(), maxBytes - data.size()));
        DWORD n = 0;
        if (!ReadFile(h, buffer.data(), want, &n, nullptr)) {
            ok = false;
            break;
        }
        data.append(buffer.data(), n);
        if (n < want) break;
    }
    CloseHandle(h);
    if (!ok) Fail(kErrPathFileAccess);
    return data;
}

bool SameFile(const std::string& a, const std::string& b) {
    const std::filesystem::path pa(Wide(a)), pb(Wide(b));
    std::error_code ec;
    const bool same = std::filesystem::equivalent(pa, pb, ec);
    if (!ec) return same;
    // Not both there: Windows compares names without regard to case.
    std::wstring na = pa.lexically_normal().wstring(), nb = pb.lexically_normal().wstring();
    ::CharUpperBuffW(na.data(), static_cast<DWORD>(na.size()));
    ::CharUpperBuffW(nb.data(), static_cast<DWORD>(nb.size()));
    return na == nb;
}

std::string ProgramFolder(const char* argv0) {
    std::wstring path(32768, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0 || n >= path.size()) {
        std::string p(argv0 ? argv0 : "");
        const std::size_t cut = p.find_last_of("\\/");
        return cut == std::string::npos ? std::string(".") : p.substr(0, cut);
    }
    path.resize(n);
    path.resize(path.find_last_of(L"\\/") == std::wstring::npos ? 0 : path.find_last_of(L"\\/"));
    return U16ToUtf8(std::u16string(path.begin(), path.end()));
}

}  // namespace zb

#endif
