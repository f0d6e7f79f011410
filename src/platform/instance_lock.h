#pragma once
// One copy of the program per PAT98 folder. The first copy holds a lock on
// "Zubrica98.lock" in the folder; the system drops the lock when the process
// ends, however it ends, so a killed copy never blocks the next start. A
// second copy asks the first to come forward by writing into that file, which
// the first watches.

#include <memory>
#include <string>

namespace zb {

class InstanceLock {
  public:
    enum class State {
        kTaken,     // this copy is the one
        kHeld,      // another copy runs in this folder
        kUnguarded  // no lock could be made (a read-only folder): run anyway
    };
    // Takes the lock of the folder, or finds it held.
    static std::unique_ptr<InstanceLock> Take(const std::string& folder);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    State state() const { return state_; }
    // The lock file, for the first copy to watch.
    const std::string& path() const { return path_; }
    // From a second copy: asks the holder to show its window. False when the
    // file could not be written.
    bool AskHolderToShow() const;

  private:
    InstanceLock() = default;
    State state_ = State::kUnguarded;
    std::string path_;
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

}  // namespace zb
