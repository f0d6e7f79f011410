#ifndef _WIN32

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "platform/file_lookup.h"
#include "startup/run_error.h"

namespace zb {

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string p(folder);
    p += name;
    std::replace(p.begin(), p.end(), '\\', '/');
    return p;
}

namespace {

// ASCII letters fold as Windows folds them; other bytes (UTF-8) must match.
bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
        if (x != y) return false;
    }
    return true;
}

bool IsRegular(const std::string& p) {
    struct stat st;
    return ::stat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

std::optional<std::string> FindFile(const std::string& path) {
    if (path.empty()) return std::nullopt;
    if (IsRegular(path)) return path;
    // Rebuild the path component by component, matching each without case.
    // The path grows in place, so a path of many components costs its length.
    std::string sofar;
    std::size_t i = 0;
    if (path[0] == '/') {
        sofar = "/";
        i = 1;
    }
    while (i <= path.size()) {
        std::size_t j = path.find('/', i);
        if (j == std::string::npos) j = path.size();
        const std::string_view part(path.data() + i, j - i);
        i = j + 1;
        if (part.empty() || part == ".") continue;
        const std::size_t base = sofar.size();
        if (!sofar.empty() && sofar.back() != '/') sofar += '/';
        const std::size_t at = sofar.size();
        sofar += part;
        struct stat st;
        if (part != ".." && ::stat(sofar.c_str(), &st) != 0) {
            const std::string folder = base == 0 ? std::string(".") : sofar.substr(0, base);
            // The names straight from the folder: no copy of each on the way.
            DIR* dir = ::opendir(folder.c_str());
            if (!dir) return std::nullopt;
            bool found = false;
            while (const dirent* e = ::readdir(dir)) {
                if (SameIgnoringCase(e->d_name, part)) {
                    sofar.replace(at, std::string::npos, e->d_name);
                    found = true;
                    break;
                }
            }
            ::closedir(dir);
            if (!found) return std::nullopt;
        }
    }
    if (IsRegular(sofar)) return sofar;
    return std::nullopt;
}

bool FileExists(const std::string& path) {
    return FindFile(path).has_value();
}

std::string ReadFileBytes(const std::string& path) {
    auto real = FindFile(path);
    if (!real) Fail(kErrFileNotFound);
    std::ifstream in(*real, std::ios::binary);
    if (!in) Fail(kErrPathFileAccess);
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) Fail(kErrPathFileAccess);
    return data;
}

}  // namespace zb

#endif
