#pragma once
// One copy of the program per PAT98 folder. The first copy holds a lock on
// "Zubrica98.lock" in the folder; the system drops the lock when the process
// ends, however it ends, so a killed copy never blocks the next start. A
// second copy asks the first to come forward by writing into that file, which
// the first watches. Where the folder takes no file (the user may not write
// there), the lock lies in a place of the user's own instead, named after the
// folder's real path, so the copies of one user still meet.

#include <memory>
#include <string>

namespace zb {

class InstanceLock {
  public:
    enum class State {
        kTaken,     // this copy is the one
        kHeld,      // another copy runs in this folder
        kUnguarded  // no lock could be made anywhere: run anyway
    };
    // Takes the lock of the folder, or finds it held.
    static std::unique_ptr<InstanceLock> Take(const std::string& folder);
    // The same with the user's place given: empty for none.
    static std::unique_ptr<InstanceLock> Take(const std::string& folder,
                                              const std::string& userFolder);
    // XDG_RUNTIME_DIR, else the temporary folder; on Windows the user's
    // temporary folder.
    static std::string UserFolder();
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
    // Opens the file at path and tries its lock; false when no file could
    // be opened there.
    bool Open(const std::string& path, bool userPlace);
    State state_ = State::kUnguarded;
    std::string path_;
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

}  // namespace zb
