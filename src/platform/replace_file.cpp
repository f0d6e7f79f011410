#include "platform/replace_file.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>

#include "platform/file_lookup.h"
#include "platform/folder_index.h"
#include "platform/run_error.h"
#include "platform/sjis.h"

#ifdef _WIN32
#include <windows.h>
// <windows.h> makes ReplaceFile a macro for ReplaceFileA; ours is a function.
#undef ReplaceFile

#include <random>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace zb {

namespace {

// "<name>.~zubrica98-XXXXXX": a name nobody gives a file of their own, so a
// leftover of that shape is certainly ours to remove.
constexpr std::string_view kTempTag = ".~zubrica98-";
constexpr std::size_t kTempRandomChars = 6;  // as mkstemp's XXXXXX
constexpr std::string_view kTempChars =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr int kMaxLinks = 40;

enum class WriteFault { kNone, kReadOnlyFile, kDenied, kDiskFull, kReadOnlyDrive, kInUse, kOther };

// The second line of a failed write's message: the file, and why when known.
std::string_view Why(WriteFault f) {
    switch (f) {
        case WriteFault::kReadOnlyFile:
            return "読み取り専用のファイルです。";
        case WriteFault::kDenied:
            return "アクセスが拒否されました。";
        case WriteFault::kDiskFull:
            return "ディスクの空き領域が不足しています。";
        case WriteFault::kReadOnlyDrive:
            return "書き込みが禁止されたドライブです。";
        case WriteFault::kInUse:
            return "ほかのプログラムが使用中です。";
        default:
            return {};
    }
}

[[noreturn]] void FailWrite(int number, const std::string& path, WriteFault f) {
    throw FileFailure(number, path, Why(f));
}

fs::path PathOf(const std::string& s) {
#ifdef _WIN32
    return fs::path(Wide(s));
#else
    return fs::path(s);
#endif
}

std::string TextOf(const fs::path& p) {
#ifdef _WIN32
    std::u8string u = p.u8string();
    return std::string(u.begin(), u.end());
#else
    return p.string();
#endif
}

// The file a write must go to: a symbolic link is followed to its target, so
// the link itself stays.
fs::path FollowLinks(fs::path p) {
    for (int i = 0; i < kMaxLinks; ++i) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(p, ec))) return p;
        fs::path to = fs::read_symlink(p, ec);
        if (ec) Fail(kErrPermission);
        p = to.is_absolute() ? to : (p.parent_path() / to).lexically_normal();
    }
    Fail(kErrPermission);  // a loop of links
}

bool IsTemporaryOf(const std::string& entry, const std::string& name) {
    return entry.size() == name.size() + kTempTag.size() + kTempRandomChars &&
           entry.compare(0, name.size(), name) == 0 &&
           entry.compare(name.size(), kTempTag.size(), kTempTag) == 0 &&
           entry.find_first_not_of(kTempChars, name.size() + kTempTag.size()) == std::string::npos;
}

// Temporaries a killed write left beside the file. Only names of our own
// making are touched, and only regular files.
void RemoveStaleTemporaries(const fs::path& dir, const std::string& name) {
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (!IsTemporaryOf(TextOf(it->path().filename()), name)) continue;
        std::error_code ignored;
        if (it->symlink_status(ignored).type() == fs::file_type::regular)
            fs::remove(it->path(), ignored);
    }
}

bool HoldsText(const fs::path& p, std::string_view content) {
    std::error_code ec;
    auto size = fs::file_size(p, ec);
    if (ec || size != content.size()) return false;
    std::ifstream in(p, std::ios::binary);
    std::string now(content.size(), '\0');
    if (!in.read(now.data(), static_cast<std::streamsize>(now.size()))) return false;
    return now == content;
}

#ifdef _WIN32

std::string RandomChars() {
    static std::mt19937 gen{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, kTempChars.size() - 1);
    std::string r;
    for (std::size_t i = 0; i < kTempRandomChars; ++i) r += kTempChars[pick(gen)];
    return r;
}

// Some calls (ReplaceFileW among them) refuse forward slashes.
std::wstring Wide(fs::path p) {
    return p.make_preferred().wstring();
}

WriteFault FaultOf(DWORD error) {
    switch (error) {
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return WriteFault::kDiskFull;
        case ERROR_ACCESS_DENIED:
            return WriteFault::kDenied;
        case ERROR_WRITE_PROTECT:
            return WriteFault::kReadOnlyDrive;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_USER_MAPPED_FILE:
            return WriteFault::kInUse;
        default:
            return WriteFault::kOther;
    }
}

// Writes the text to a new temporary file and puts it in the target's place.
WriteFault WriteAndReplace(const fs::path& target, bool exists, std::string_view content) {
    fs::path temp;
    HANDLE h = INVALID_HANDLE_VALUE;
    for (int tries = 0; tries < 100 && h == INVALID_HANDLE_VALUE; ++tries) {
        temp = target;
        temp += PathOf(std::string(kTempTag) + RandomChars());
        h = ::CreateFileW(Wide(temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS)
            return FaultOf(::GetLastError());
    }
    if (h == INVALID_HANDLE_VALUE) return WriteFault::kOther;
    DWORD error = 0;
    const char* p = content.data();
    std::size_t left = content.size();
    while (error == 0 && left > 0) {
        DWORD chunk = left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
        DWORD done = 0;
        if (::WriteFile(h, p, chunk, &done, nullptr) == 0 || done == 0)
            error = ::GetLastError() != 0 ? ::GetLastError() : ERROR_DISK_FULL;
        p += done;
        left -= done;
    }
    if (error == 0 && ::FlushFileBuffers(h) == 0) error = ::GetLastError();
    if (::CloseHandle(h) == 0 && error == 0) error = ::GetLastError();
    if (error == 0) {
        // ReplaceFileW keeps the old file's attributes, security and creation
        // time; where it cannot, a plain replacing move still swaps in one step.
        const bool replaced =
            exists && ::ReplaceFileW(Wide(target).c_str(), Wide(temp).c_str(), nullptr,
                                     REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0;
        if (!replaced && ::MoveFileExW(Wide(temp).c_str(), Wide(target).c_str(),
                                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0)
            error = ::GetLastError();
    }
    if (error == 0) return WriteFault::kNone;
    ::DeleteFileW(Wide(temp).c_str());
    return FaultOf(error);
}

bool ProtectedFile(const fs::path& p) {
    DWORD a = ::GetFileAttributesW(Wide(p).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY) != 0;
}

#else

WriteFault FaultOf(int error) {
    switch (error) {
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return WriteFault::kDiskFull;
        case EACCES:
        case EPERM:
            return WriteFault::kDenied;
        case EROFS:
            return WriteFault::kReadOnlyDrive;
        case ETXTBSY:
        case EBUSY:
            return WriteFault::kInUse;
        default:
            return WriteFault::kOther;
    }
}

bool WriteAll(int fd, std::string_view content) {
    const char* p = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        ssize_t w = ::write(fd, p, left);
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += w;
        left -= static_cast<std::size_t>(w);
    }
    return true;
}

// The rename reaches the disk only with its folder.
void SyncFolder(const fs::path& dir) {
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

WriteFault WriteAndReplace(const fs::path& target, bool exists, std::string_view content) {
    std::string temp = target.string() + std::string(kTempTag) + "XXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0) return FaultOf(errno);
    int error = 0;
    if (!WriteAll(fd, content) || ::fsync(fd) != 0) error = errno;
    // The new file keeps the old one's permissions and owner; a new file gets 0644.
    struct stat st;
    if (exists && ::stat(target.c_str(), &st) == 0) {
        if (error == 0 && ::fchmod(fd, st.st_mode & 07777) != 0) error = errno;
        if (error == 0 && ::fchown(fd, st.st_uid, st.st_gid) != 0) {
            // Only root may give the file away; anyone else keeps it as their own.
        }
    } else if (error == 0 && ::fchmod(fd, 0644) != 0) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temp.c_str(), target.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temp.c_str());
        return FaultOf(error);
    }
    SyncFolder(target.parent_path());
    return WriteFault::kNone;
}

bool ProtectedFile(const fs::path& p) {
    struct stat st;
    if (::stat(p.c_str(), &st) != 0) return false;
    // The owner's write bit is what the read-only attribute maps to; root
    // passes every access() check, so the bit decides.
    if ((st.st_mode & S_IWUSR) == 0) return true;
    return ::access(p.c_str(), W_OK) != 0 && (errno == EACCES || errno == EROFS || errno == EPERM);
}

#endif

}  // namespace

RunError FileFailure(int number, const std::string& path, std::string_view why) {
    std::string text = ErrorDescription(number) + "\n" + path;
    if (!why.empty()) text += "\n" + std::string(why);
    return RunError(number, text);
}

void ReplaceFile(const std::string& path, std::string_view content) {
    // Whatever happens below, listings taken before are out of date.
    struct Forget {
        ~Forget() { ForgetFolderListings(); }
    } forget;
    const fs::path target = FollowLinks(PathOf(FindFile(path).value_or(path)));
    fs::path dir = target.parent_path();
    if (dir.empty()) dir = ".";
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) FailWrite(kErrPathNotFound, path, WriteFault::kOther);
    const fs::file_status st = fs::status(target, ec);
    const bool exists = fs::exists(st);
    if (exists) {
        if (!fs::is_regular_file(st)) FailWrite(kErrPermission, path, WriteFault::kOther);
        if (HoldsText(target, content)) return;
    }
    // Only a real write pays for the look through the folder.
    RemoveStaleTemporaries(dir, TextOf(target.filename()));
    if (exists && ProtectedFile(target)) FailWrite(kErrPermission, path, WriteFault::kReadOnlyFile);
    const WriteFault f = WriteAndReplace(target, exists, content);
    if (f != WriteFault::kNone) FailWrite(kErrPermission, path, f);
}

std::string ReadFileUpTo(const std::string& path, std::size_t maxBytes) {
    // A file that grows while it is read is still cut at the bound.
    return ReadFilePrefix(path, maxBytes + 1);
}

}  // namespace zb
