#include "platform/instance_lock.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/file_lookup.h"
#include "platform/sjis.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace zb {

namespace {

// What a second copy writes: a new text each time, so that the holder's
// watch sees a change.
std::string Request() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::to_string(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()) +
           "\r\n";
}

// The folder's real path, as the system compares names: two spellings of one
// folder give one key.
std::string FolderKey(const std::string& folder) {
#ifdef _WIN32
    const std::u16string u = Utf8ToU16(folder);
    const std::wstring given(u.begin(), u.end());
    std::wstring full(32768, L'\0');
    const DWORD n =
        ::GetFullPathNameW(given.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    full.resize(n > 0 && n < full.size() ? n : 0);
    if (full.empty()) full = given;
    while (full.size() > 3 && (full.back() == L'\\' || full.back() == L'/')) full.pop_back();
    ::CharUpperBuffW(full.data(), static_cast<DWORD>(full.size()));
    return U16ToUtf8(std::u16string(full.begin(), full.end()));
#else
    std::error_code ec;
    const std::filesystem::path real = std::filesystem::canonical(folder, ec);
    return ec ? std::filesystem::absolute(folder, ec).lexically_normal().string() : real.string();
#endif
}

// The lock's name in the user's place: FNV-1a of the key, so any path fits
// a file name.
std::string UserLockName(const std::string& folder) {
    std::uint64_t h = 14695981039346656037ull;
    for (const unsigned char c : FolderKey(folder)) h = (h ^ c) * 1099511628211ull;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(h));
#ifdef _WIN32
    return std::string("\\Zubrica98-") + hex + ".lock";
#else
    // The temporary folder is shared: the user's number keeps users apart.
    return "\\Zubrica98-" + std::to_string(::getuid()) + "-" + hex + ".lock";
#endif
}

#ifdef _WIN32
// The lock lies far beyond the file's text, so that a second copy may still
// write its request at the start.
constexpr DWORD kLockOffsetHigh = 1;
#endif

}  // namespace

std::unique_ptr<InstanceLock> InstanceLock::Take(const std::string& folder) {
    return Take(folder, UserFolder());
}

std::unique_ptr<InstanceLock> InstanceLock::Take(const std::string& folder,
                                                 const std::string& userFolder) {
    std::unique_ptr<InstanceLock> lock(new InstanceLock);
    const std::string named = JoinPath(folder, "\\Zubrica98.lock");
    if (lock->Open(FindFile(named).value_or(named), false)) return lock;
    // Without a lock two copies would run here, each posting from its own
    // passbook: the user's place serves as well for copies of one user.
    if (!userFolder.empty() && FolderExists(folder))
        lock->Open(JoinPath(userFolder, UserLockName(folder)), true);
    return lock;
}

std::string InstanceLock::UserFolder() {
#ifdef _WIN32
    wchar_t temp[MAX_PATH + 1];
    const DWORD n = ::GetTempPathW(MAX_PATH + 1, temp);
    if (n == 0 || n > MAX_PATH) return {};
    std::wstring w(temp, n);
    while (w.size() > 3 && w.back() == L'\\') w.pop_back();
    return U16ToUtf8(std::u16string(w.begin(), w.end()));
#else
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && *runtime != '\0' && FolderExists(runtime)) return runtime;
    std::error_code ec;
    const std::string temp = std::filesystem::temp_directory_path(ec).string();
    return ec ? std::string() : temp;
#endif
}

bool InstanceLock::Open(const std::string& path, bool userPlace) {
    path_ = path;
#ifdef _WIN32
    (void)userPlace;
    HANDLE h = ::CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    OVERLAPPED at{};
    at.OffsetHigh = kLockOffsetHigh;
    if (::LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at) != 0) {
        handle_ = h;
        state_ = State::kTaken;
        return true;
    }
    const DWORD error = ::GetLastError();
    ::CloseHandle(h);
    if (error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING) state_ = State::kHeld;
#else
    // In a shared temporary folder a link put there by someone else is not
    // followed, and the file is the user's alone.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | (userPlace ? O_NOFOLLOW : 0),
                          userPlace ? 0600 : 0644);
    if (fd < 0) return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        fd_ = fd;
        state_ = State::kTaken;
        return true;
    }
    const int error = errno;
    ::close(fd);
    if (error == EWOULDBLOCK) state_ = State::kHeld;
#endif
    return true;
}

InstanceLock::~InstanceLock() {
    // The file stays: removing it would let a copy that opened it just before
    // lock a file nobody else sees.
#ifdef _WIN32
    if (handle_ != nullptr) ::CloseHandle(static_cast<HANDLE>(handle_));
#else
    if (fd_ >= 0) ::close(fd_);
#endif
}

bool InstanceLock::AskHolderToShow() const {
    const std::string text = Request();
#ifdef _WIN32
    HANDLE h = ::CreateFileW(Wide(path_).c_str(), GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD done = 0;
    const bool ok =
        ::WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &done, nullptr) != 0 &&
        done == text.size();
    ::CloseHandle(h);
    return ok;
#else
    const int fd = ::open(path_.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::pwrite(fd, text.data(), text.size(), 0) == static_cast<ssize_t>(text.size());
    ::close(fd);
    return ok;
#endif
}

}  // namespace zb
