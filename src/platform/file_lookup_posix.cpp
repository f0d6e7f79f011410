#ifndef _WIN32

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <memory>
#include <utility>

#include "platform/file_lookup.h"
#include "platform/folder_index.h"
#include "platform/run_error.h"

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
    if (auto known = FindInPass(path)) return std::move(*known);
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

bool FolderExists(const std::string& path) {
    struct stat st;
    const std::string p = JoinPath(path, "");
    return !p.empty() && ::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string ReadFoundFile(const std::string& real, std::size_t maxBytes) {
    const int fd = ::open(real.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) Fail(errno == ENOENT ? kErrFileNotFound : kErrPathFileAccess);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    // One read in the usual case: PAT98 files are far smaller than the
    // buffer, and a short read is the end. A longer file is read on.
    // Left uninitialised: only what read() fills is used.
    constexpr std::size_t kBuffer = std::size_t{1} << 16;
    thread_local const std::unique_ptr<char[]> buffer(new char[kBuffer]);
    std::string data;
    while (data.size() < maxBytes) {
        const std::size_t want = std::min(kBuffer, maxBytes - data.size());
        const ssize_t n = ::read(fd, buffer.get(), want);
        if (n < 0) {
            if (errno == EINTR) continue;
            Fail(kErrPathFileAccess);
        }
        data.append(buffer.get(), static_cast<std::size_t>(n));
        if (static_cast<std::size_t>(n) < want) break;
    }
    return data;
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    const bool same = std::filesystem::equivalent(a, b, ec);
    return ec ? std::filesystem::path(a).lexically_normal() ==
                    std::filesystem::path(b).lexically_normal()
              : same;
}

std::string ProgramFolder(const char* argv0) {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) exe = std::filesystem::absolute(argv0 ? argv0 : "", ec);
    return exe.parent_path().string();
}

}  // namespace zb

#endif
