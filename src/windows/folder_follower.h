#pragma once
// Follows the folder PAT98 writes its files to: once a change has been seen
// and the folder has stayed quiet for a second (PAT98 writes several files in
// a burst), it asks for a reading pass. Change notices come from the file
// system; where they do not arrive (some network drives) a look at the
// folder's listing every ten seconds catches up. A pass that failed is tried
// again after 2, 5, 10 and then every 30 seconds. Stopped, it holds no watch
// and no timer, so the program wakes for nothing.

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QFileSystemWatcher;

namespace zb {

class FolderFollower : public QObject {
  public:
    // pass runs the reading pass and tells whether it succeeded.
    FolderFollower(std::function<bool()> pass, QObject* parent);

    // Watches the folder (and the PAT98 files in it); an empty one stops.
    void follow(const std::string& folder);
    void stop();
    bool following() const { return !folder_.empty(); }
    // After a pass run from elsewhere (the user's 更新): the folder as it is
    // now is what the figures show.
    void passed(const std::string& folder);

    // As if a change had been noticed: a pass after the quiet second.
    void nudge() { Noticed(); }
    // The delays, shortened by tests.
    void setDelays(int quietMs, int checkMs, std::vector<int> retryMs);
    int failuresInARow() const { return failures_; }
    bool timersIdle() const;

  private:
    void Noticed();
    void Run();
    void Check();
    void Rewatch();
    uint64_t Signature() const;

    std::function<bool()> pass_;
    QFileSystemWatcher* watcher_ = nullptr;
    QTimer quiet_, check_, retry_;
    std::string folder_;
    uint64_t signature_ = 0;
    int failures_ = 0;
    std::vector<int> retryMs_{2000, 5000, 10000, 30000};
};

}  // namespace zb
