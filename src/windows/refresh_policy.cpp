#include "windows/refresh_policy.h"

#include <algorithm>

namespace zb {

namespace {

// Messages name files: a folder full of odd names must not grow the list.
constexpr std::size_t kMaxTold = 64;

// The second line of a failure's text names the file, where one is known.
std::string FileNamed(const std::string& text) {
    const std::size_t nl = text.find('\n');
    if (nl == std::string::npos) return {};
    std::string path = text.substr(nl + 1);
    path = path.substr(0, path.find('\n'));
    const std::size_t sep = path.find_last_of("\\/");
    return sep == std::string::npos ? path : path.substr(sep + 1);
}

std::string MessagesNotice(const std::vector<RefreshPolicy::Message>& messages) {
    std::string out;
    for (const auto& [title, text] : messages) {
        if (!out.empty()) out += "\n\n";
        out += "自動更新: " + title + "\n" + text;
    }
    return out;
}

}  // namespace

std::string ReadFailureNotice(const RefreshPolicy::Message& m, long minutes) {
    const std::string file = FileNamed(m.second);
    std::string out = "自動更新: ";
    if (!file.empty()) out += file + " を ";
    out += std::to_string(minutes) + " 分間読み込めません";
    if (!m.first.empty()) out += "\n" + m.first + "\n" + m.second;
    return out;
}

bool RefreshPolicy::start(Time now, bool blocked) {
    if (running_ || blocked || !due_ || now < *due_) return false;
    due_.reset();
    running_ = true;
    return true;
}

RefreshPolicy::Result RefreshPolicy::finish(Time now, const Outcome& outcome) {
    running_ = false;
    Result r;
    std::string notice = notice_;
    if (outcome.ok) {
        failures_ = 0;
        failingSince_.reset();
        r.recordFolder = true;
        // A message of a good pass (a passbook that cannot be written) once,
        // not again at every burst of PAT98's writes, nor each time the day
        // settles anew while PAT98 is writing.
        bool fresh = false;
        for (const Message& m : outcome.messages) {
            const auto it = told_.find(m);
            fresh |= it == told_.end() || now - it->second >= delays_.repeatAfter;
        }
        if (told_.size() > kMaxTold) told_.clear();
        if (fresh) {
            notice = MessagesNotice(outcome.messages);
            for (const Message& m : outcome.messages) told_[m] = now;
        } else if (outcome.messages.empty() || noticeIsFailure_) {
            notice.clear();
        }
        noticeIsFailure_ = false;
    } else {
        // Most often PAT98 is half-way through writing: tried again soon,
        // then less often.
        ++failures_;
        if (!failingSince_) failingSince_ = now;
        if (!delays_.retry.empty()) {
            const std::size_t i =
                std::min(static_cast<std::size_t>(failures_ - 1), delays_.retry.size() - 1);
            const Time retry = now + delays_.retry[i];
            due_ = due_ ? std::min(*due_, retry) : retry;
        }
        const auto failing = now - *failingSince_;
        if (failing >= delays_.failureShown) {
            const long minutes = static_cast<long>(
                std::chrono::duration_cast<std::chrono::minutes>(failing).count());
            notice = ReadFailureNotice(
                outcome.messages.empty() ? Message{} : outcome.messages.front(), minutes);
            noticeIsFailure_ = true;
        }
    }
    r.noticeChanged = notice != notice_;
    notice_ = notice;
    r.notice = notice_;
    return r;
}

RefreshPolicy::Result RefreshPolicy::passedByHand() {
    failures_ = 0;
    failingSince_.reset();
    due_.reset();
    Result r;
    r.recordFolder = true;
    if (noticeIsFailure_) {
        noticeIsFailure_ = false;
        r.noticeChanged = !notice_.empty();
        notice_.clear();
    }
    r.notice = notice_;
    return r;
}

void RefreshPolicy::reset() {
    *this = RefreshPolicy(std::move(delays_));
}

}  // namespace zb
