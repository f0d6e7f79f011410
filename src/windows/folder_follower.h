#pragma once
// Follows the folder PAT98 writes its files to: once a change has been seen
// and the folder has stayed quiet for a second (PAT98 writes several files in
// a burst), it asks for a reading pass. Change notices come from the file
// system; where they do not arrive (some network drives) a look at the
// folder's listing every ten seconds catches up. When a pass runs, and what
// it tells the user, is the policy's; stopped, the follower holds no watch
// and no timer, so the program wakes for nothing.

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "windows/refresh_policy.h"

class QFileSystemWatcher;

namespace zb {

class FolderFollower : public QObject {
  public:
    // pass runs the reading pass; blocked tells that none may start now (a
    // box is open).
    FolderFollower(std::function<RefreshPolicy::Outcome()> pass, std::function<bool()> blocked,
                   QObject* parent);
    // A pass that only succeeds or fails, blocked while a box is open.
    FolderFollower(std::function<bool()> pass, QObject* parent);
    // Told after every pass, and after the user's own 更新.
    void setOnResult(std::function<void(const RefreshPolicy::Result&)> f) {
        onResult_ = std::move(f);
    }

    // Watches the folder (and the PAT98 files in it); an empty one stops.
    void follow(const std::string& folder);
    void stop();
    bool following() const { return !folder_.empty(); }
    // After a successful pass run from elsewhere (the user's 更新): the
    // folder as it is now is what the figures show.
    void passed(const std::string& folder);

    // As if a change had been noticed: a pass after the quiet second.
    void nudge() { Noticed(); }
    // The delays, shortened by tests.
    void setDelays(int quietMs, int checkMs, std::vector<int> retryMs, int failureShownMs = 60000);
    int failuresInARow() const { return policy_.failuresInARow(); }
    bool timersIdle() const;

  private:
    void Noticed();
    void Run();
    void Check();
    // Sets the timer to the policy's next due time.
    void Arm();
    void Rewatch();
    uint64_t Signature() const;

    std::function<RefreshPolicy::Outcome()> pass_;
    std::function<bool()> blocked_;
    std::function<void(const RefreshPolicy::Result&)> onResult_;
    RefreshPolicy policy_;
    QFileSystemWatcher* watcher_ = nullptr;
    QTimer due_, check_;
    std::string folder_;
    uint64_t signature_ = 0;  // the folder as last read
    uint64_t seen_ = 0;       // the folder as last looked at
};

}  // namespace zb
