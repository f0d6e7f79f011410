#pragma once
// When 自動更新 reads the folder again, and what it tells the user: the quiet
// second after a burst of writes, the back-off after a failed pass, the
// failure that has lasted a minute, and messages shown once, not at every
// burst. Plain C++ with the clock passed in, so each rule can be tested
// without waiting.

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zb {

struct RefreshDelays {
    using Ms = std::chrono::milliseconds;
    Ms quiet{1000};  // after the last change noticed
    std::vector<Ms> retry{Ms(2000), Ms(5000), Ms(10000), Ms(30000)};
    Ms failureShown{60000};   // failing this long: the notice says so
    Ms repeatAfter{3600000};  // a message told once is not told again sooner
};

class RefreshPolicy {
  public:
    using Time = std::chrono::steady_clock::time_point;
    using Ms = std::chrono::milliseconds;
    using Delays = RefreshDelays;

    // What a pass would have shown in a box: title and text.
    using Message = std::pair<std::string, std::string>;

    struct Outcome {
        bool ok = false;
        std::vector<Message> messages;
    };

    // What the window does after a pass.
    struct Result {
        bool recordFolder = false;  // the folder as it is now has been read
        bool noticeChanged = false;
        std::string notice;  // empty: no notice
    };

    explicit RefreshPolicy(Delays d = {}) : delays_(std::move(d)) {}
    void setDelays(Delays d) { delays_ = std::move(d); }

    // A change to the followed files: a pass once the folder is quiet.
    void noticed(Time now) { due_ = now + delays_.quiet; }
    // When the next pass is due; nothing when no pass is wanted.
    std::optional<Time> due() const { return due_; }
    // The due time has come. A pass never starts while a box of the program
    // is open or another pass runs (blocked): the change stays remembered
    // and is read once the way is clear.
    bool start(Time now, bool blocked);
    bool running() const { return running_; }
    Result finish(Time now, const Outcome& outcome);
    // The user's own 更新 read the folder: nothing is pending any more.
    Result passedByHand();
    // 自動更新 switched off: everything forgotten.
    void reset();

    int failuresInARow() const { return failures_; }

  private:
    Delays delays_;
    std::optional<Time> due_;
    bool running_ = false;
    int failures_ = 0;
    std::optional<Time> failingSince_;
    std::string notice_;
    bool noticeIsFailure_ = false;  // the notice tells of failing reads
    std::map<Message, Time> told_;  // messages of good passes, when told
};

// "自動更新: KS-56521.JRA を 3 分間読み込めません", then the message itself.
std::string ReadFailureNotice(const RefreshPolicy::Message& m, long minutes);

}  // namespace zb
