#include "windows/folder_follower.h"

#include <QFileSystemWatcher>
#include <algorithm>
#include <filesystem>

#include "windows/modal_scope.h"

namespace zb {

namespace {

// Watching a file costs a handle: a folder holding thousands of old files
// is followed through its own notices and the listing check.
constexpr std::size_t kMaxFileWatches = 1000;
// While a box is open a due pass waits; this often it looks again.
constexpr int kBlockedPollMs = 500;

using Clock = std::chrono::steady_clock;

std::filesystem::path PathOf(const std::string& s) {
#ifdef _WIN32
    return std::filesystem::path(std::u8string(s.begin(), s.end()));
#else
    return std::filesystem::path(s);
#endif
}

// A name as UTF-8 on every system: a name outside the Windows code page
// must not end the program.
std::string TextOf(const std::filesystem::path& p) {
    const std::u8string u = p.u8string();
    return std::string(u.begin(), u.end());
}

// The files the reading pass may read: PAT98's "*.JRA" and the seed file.
bool Followed(const std::filesystem::path& name) {
    std::string n = TextOf(name.filename());
    std::transform(n.begin(), n.end(), n.begin(), [](unsigned char c) { return std::toupper(c); });
    return n == "ZUBRICA.TXT" || (n.size() > 4 && n.compare(n.size() - 4, 4, ".JRA") == 0);
}

}  // namespace

FolderFollower::FolderFollower(std::function<RefreshPolicy::Outcome()> pass,
                               std::function<bool()> blocked, QObject* parent)
    : QObject(parent), pass_(std::move(pass)), blocked_(std::move(blocked)) {
    due_.setSingleShot(true);
    check_.setInterval(10000);
    connect(&due_, &QTimer::timeout, this, [this] { Run(); });
    connect(&check_, &QTimer::timeout, this, [this] { Check(); });
}

FolderFollower::FolderFollower(std::function<bool()> pass, QObject* parent)
    : FolderFollower(
          [pass = std::move(pass)] {
              return RefreshPolicy::Outcome{pass(), {}};
          },
          [] { return ModalScope::Open(); }, parent) {}

void FolderFollower::setDelays(int quietMs, int checkMs, std::vector<int> retryMs,
                               int failureShownMs) {
    RefreshPolicy::Delays d;
    d.quiet = RefreshPolicy::Ms(quietMs);
    d.retry.clear();
    for (int ms : retryMs) d.retry.emplace_back(ms);
    d.failureShown = RefreshPolicy::Ms(failureShownMs);
    policy_.setDelays(std::move(d));
    check_.setInterval(checkMs);
}

void FolderFollower::follow(const std::string& folder) {
    if (folder.empty()) {
        stop();
        return;
    }
    if (folder != folder_) {
        delete watcher_;
        watcher_ = new QFileSystemWatcher(this);
        // Other files come and go in the folder too: only a change to the
        // followed ones counts.
        connect(watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { Check(); });
        connect(watcher_, &QFileSystemWatcher::fileChanged, this, [this] { Noticed(); });
        folder_ = folder;
    }
    Rewatch();
    signature_ = seen_ = Signature();
    check_.start();
}

void FolderFollower::stop() {
    due_.stop();
    check_.stop();
    delete watcher_;
    watcher_ = nullptr;
    folder_.clear();
    policy_.reset();
}

void FolderFollower::passed(const std::string& folder) {
    if (!following()) return;
    const RefreshPolicy::Result r = policy_.passedByHand();
    follow(folder);
    Arm();
    if (onResult_) onResult_(r);
}

bool FolderFollower::timersIdle() const {
    return !due_.isActive() && !check_.isActive();
}

void FolderFollower::Noticed() {
    if (!following()) return;
    // Each notice of a burst starts the quiet second again.
    policy_.noticed(Clock::now());
    Arm();
}

void FolderFollower::Arm() {
    const std::optional<RefreshPolicy::Time> due = policy_.due();
    if (!following() || !due || policy_.running()) {
        due_.stop();
        return;
    }
    const auto now = Clock::now();
    long long wait = std::chrono::ceil<std::chrono::milliseconds>(*due - now).count();
    if (wait <= 0 && blocked_()) wait = kBlockedPollMs;
    due_.start(static_cast<int>(std::clamp<long long>(wait, 0, 24LL * 3600 * 1000)));
}

void FolderFollower::Run() {
    if (!following()) return;
    if (!policy_.start(Clock::now(), blocked_())) {
        Arm();
        return;
    }
    // The folder as it is before the pass: a write during the pass is seen
    // again by the next check.
    const std::string folder = folder_;
    const uint64_t before = Signature();
    const RefreshPolicy::Outcome outcome = pass_();
    const RefreshPolicy::Result r = policy_.finish(Clock::now(), outcome);
    // A pass that switched to another folder (a redirect) has taken its
    // state already.
    if (r.recordFolder && following() && folder_ == folder) {
        signature_ = before;
        seen_ = before;
        Rewatch();
    }
    Arm();
    if (onResult_) onResult_(r);
}

void FolderFollower::Check() {
    if (!following()) return;
    const uint64_t now = Signature();
    // A change already noticed waits for its pass (or its retry) as it is.
    if (now == signature_ || now == seen_) return;
    seen_ = now;
    Noticed();
}

void FolderFollower::Rewatch() {
    if (!watcher_) return;
    // A file replaced by a rename is a new file: its old watch is gone.
    QStringList want{QString::fromStdString(folder_)};
    std::error_code ec;
    for (std::filesystem::directory_iterator it(PathOf(folder_), ec), end;
         !ec && it != end && static_cast<std::size_t>(want.size()) <= kMaxFileWatches;
         it.increment(ec))
        if (Followed(it->path()))
            want << QString::fromStdString(folder_ + "/" + TextOf(it->path().filename()));
    const QStringList have = watcher_->files() + watcher_->directories();
    QStringList gone;
    for (const QString& p : have)
        if (!want.contains(p)) gone << p;
    if (!gone.isEmpty()) watcher_->removePaths(gone);
    QStringList add;
    for (const QString& p : want)
        if (!have.contains(p)) add << p;
    if (!add.isEmpty()) watcher_->addPaths(add);
}

// Names, sizes and times of the followed files, folded into one number that
// does not depend on the listing's order.
uint64_t FolderFollower::Signature() const {
    uint64_t sum = 0;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(PathOf(folder_), ec), end; !ec && it != end;
         it.increment(ec)) {
        if (!Followed(it->path())) continue;
        std::error_code ignored;
        uint64_t e = std::hash<std::string>{}(TextOf(it->path().filename()));
        e = (e ^ static_cast<uint64_t>(it->file_size(ignored))) * 1099511628211ull;
        e = (e ^ static_cast<uint64_t>(it->last_write_time(ignored).time_since_epoch().count())) *
            1099511628211ull;
        sum += e;
    }
    return sum;
}

}  // namespace zb
