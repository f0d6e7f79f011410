#include "windows/folder_follower.h"

#include <QFileSystemWatcher>
#include <algorithm>
#include <filesystem>

namespace zb {

namespace {

// Watching a file costs a handle: a folder holding thousands of old files
// is followed through its own notices and the listing check.
constexpr std::size_t kMaxFileWatches = 1000;

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

FolderFollower::FolderFollower(std::function<bool()> pass, QObject* parent)
    : QObject(parent), pass_(std::move(pass)) {
    quiet_.setSingleShot(true);
    quiet_.setInterval(1000);
    retry_.setSingleShot(true);
    check_.setInterval(10000);
    connect(&quiet_, &QTimer::timeout, this, [this] { Run(); });
    connect(&retry_, &QTimer::timeout, this, [this] { Run(); });
    connect(&check_, &QTimer::timeout, this, [this] { Check(); });
}

void FolderFollower::setDelays(int quietMs, int checkMs, std::vector<int> retryMs) {
    quiet_.setInterval(quietMs);
    check_.setInterval(checkMs);
    retryMs_ = std::move(retryMs);
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
    signature_ = Signature();
    check_.start();
}

void FolderFollower::stop() {
    quiet_.stop();
    check_.stop();
    retry_.stop();
    delete watcher_;
    watcher_ = nullptr;
    folder_.clear();
    failures_ = 0;
}

void FolderFollower::passed(const std::string& folder) {
    if (!following()) return;
    failures_ = 0;
    retry_.stop();
    follow(folder);
}

bool FolderFollower::timersIdle() const {
    return !quiet_.isActive() && !check_.isActive() && !retry_.isActive();
}

void FolderFollower::Noticed() {
    // Each notice of a burst starts the quiet second again.
    if (following()) quiet_.start();
}

void FolderFollower::Run() {
    if (!following()) return;
    quiet_.stop();
    retry_.stop();
    // The folder as it is before the pass: a write during the pass is seen
    // again by the next check.
    const uint64_t before = Signature();
    if (pass_()) {
        failures_ = 0;
        signature_ = before;
        Rewatch();
        return;
    }
    const std::size_t i = std::min<std::size_t>(static_cast<std::size_t>(failures_),
                                                retryMs_.empty() ? 0 : retryMs_.size() - 1);
    ++failures_;
    if (!retryMs_.empty() && following()) retry_.start(retryMs_[i]);
}

void FolderFollower::Check() {
    if (following() && Signature() != signature_) Noticed();
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
