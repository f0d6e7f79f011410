#include "readers/pat98_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "platform/sjis.h"
#include "startup/run_error.h"

namespace fs = std::filesystem;

namespace zb {

void ReplaceFile(const std::string& path, std::string_view content) {
    std::string target = FindFile(path).value_or(path);
    fs::path dir = fs::path(target).parent_path();
    if (dir.empty()) dir = ".";
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) Fail(kErrPathNotFound);
    std::string tmpl = (dir / (fs::path(target).filename().string() + ".tmpXXXXXX")).string();
    int fd = ::mkstemp(tmpl.data());
    if (fd < 0) Fail(kErrPermission);
    bool ok = true;
    const char* p = content.data();
    std::size_t left = content.size();
    while (ok && left > 0) {
        ssize_t w = ::write(fd, p, left);
        if (w < 0) {
            if (errno == EINTR) continue;
            ok = false;
        } else {
            p += w;
            left -= static_cast<std::size_t>(w);
        }
    }
    if (ok && ::fsync(fd) != 0) ok = false;
    // Keep the old file's permissions where there was one; a new file gets 0644.
    struct stat st;
    mode_t mode = ::stat(target.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
    if (ok && ::fchmod(fd, mode) != 0) ok = false;
    if (::close(fd) != 0) ok = false;
    if (ok && ::rename(tmpl.c_str(), target.c_str()) != 0) ok = false;
    if (!ok) {
        ::unlink(tmpl.c_str());
        Fail(kErrPermission);
    }
}

std::u16string SeqReader::chars(long n) {
    if (n < 0) Fail(kErrInvalidCall);
    std::size_t start = pos_;
    std::size_t p = pos_;
    for (long k = 0; k < n; ++k) {
        if (p >= data_.size()) Fail(kErrPastEnd);
        unsigned char b = static_cast<unsigned char>(data_[p]);
        if (IsSjisLead(b)) {
            if (p + 1 >= data_.size()) Fail(kErrPastEnd);
            p += 2;
        } else {
            p += 1;
        }
    }
    pos_ = p;
    return DecodeSjis(std::string_view(data_).substr(start, p - start));
}

std::string SeqReader::bytes(long n) {
    if (n < 0) Fail(kErrInvalidCall);
    if (static_cast<std::size_t>(n) > remaining()) Fail(kErrPastEnd);
    std::string r = data_.substr(pos_, static_cast<std::size_t>(n));
    pos_ += static_cast<std::size_t>(n);
    return r;
}

std::string SeqReader::block(std::size_t n) {
    std::size_t k = std::min(n, remaining());
    std::string r = data_.substr(pos_, k);
    pos_ += k;
    return r;
}

}  // namespace zb
