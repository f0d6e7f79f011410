#include "platform/instance_lock.h"

#include <chrono>

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

#ifdef _WIN32
// The lock lies far beyond the file's text, so that a second copy may still
// write its request at the start.
constexpr DWORD kLockOffsetHigh = 1;
#endif

}  // namespace

std::unique_ptr<InstanceLock> InstanceLock::Take(const std::string& folder) {
    std::unique_ptr<InstanceLock> lock(new InstanceLock);
    const std::string named = JoinPath(folder, "\\Zubrica98.lock");
    lock->path_ = FindFile(named).value_or(named);
#ifdef _WIN32
    HANDLE h = ::CreateFileW(Wide(lock->path_).c_str(), GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return lock;
    OVERLAPPED at{};
    at.OffsetHigh = kLockOffsetHigh;
    if (::LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at) != 0) {
        lock->handle_ = h;
        lock->state_ = State::kTaken;
        return lock;
    }
    const DWORD error = ::GetLastError();
    ::CloseHandle(h);
    if (error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING) lock->state_ = State::kHeld;
#else
    const int fd = ::open(lock->path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return lock;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        lock->fd_ = fd;
        lock->state_ = State::kTaken;
        return lock;
    }
    const int error = errno;
    ::close(fd);
    if (error == EWOULDBLOCK) lock->state_ = State::kHeld;
#endif
    return lock;
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
