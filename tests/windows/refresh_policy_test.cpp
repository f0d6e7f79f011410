// 自動更新's rules on a clock of the test's own: the quiet second, passes
// held back while a box is open, the back-off, the minute-long failure and
// messages shown once.

#include "windows/refresh_policy.h"

#include <QtTest>

namespace {

using zb::RefreshPolicy;
using Ms = std::chrono::milliseconds;
const RefreshPolicy::Time t0{};

RefreshPolicy::Time At(long ms) {
    return t0 + Ms(ms);
}

const RefreshPolicy::Message kCut{"getkekka  13", "型が一致しません。\n/pat/KS-56521.JRA"};
const RefreshPolicy::Message kReadOnly{"comp  70", "書き込みできません。\n/pat/Korvane.txt"};

const char* const kMinute = "自動更新: KS-56521.JRA を 1 分間読み込めません\ngetkekka  13\n";
const char* const kTold = "自動更新: comp  70\n書き込みできません。\n/pat/Korvane.txt";

}  // namespace

class RefreshPolicyTest : public QObject {
    Q_OBJECT
  private slots:
    void quietSecondAndBoxesHoldThePassBack() {
        RefreshPolicy p;
        QVERIFY(!p.due());
        p.noticed(At(0));
        p.noticed(At(500));  // a burst: the quiet second starts again
        QVERIFY(!p.start(At(1499), false));
        QVERIFY(!p.start(At(1500), true));  // a box is open: remembered
        QCOMPARE(p.due(), At(1500));
        QVERIFY(p.start(At(9000), false));
        QVERIFY(!p.due());
        p.noticed(At(9100));  // written during the pass: one more pass after it
        QVERIFY(!p.start(At(20000), false));
        QVERIFY(p.finish(At(9200), {true, {}}).recordFolder);
        QVERIFY(p.start(At(20000), false));
    }

    void failedPassesBackOffAndTheMinuteIsToldOnce() {
        RefreshPolicy p;
        // Failures at these times; the next retry and the notice after each.
        const struct {
            long at, retry;
            bool changed = false;
            const char* notice = "";
        } steps[] = {
            {0, 2000},
            {2000, 7000},
            {7000, 17000},
            {17000, 47000},
            {47000, 77000},
            {77000, 107000, true, kMinute},
            {107000, 137000, false, kMinute},
            {137000, 167000, true,
             "自動更新: KS-56521.JRA を 2 分間読み込めません\ngetkekka  13\n"},
        };
        p.noticed(At(-1000));
        for (const auto& s : steps) {
            QVERIFY(p.start(At(s.at), false));
            const RefreshPolicy::Result r = p.finish(At(s.at), {false, {kCut}});
            QVERIFY(!r.recordFolder);
            QCOMPARE(p.due(), At(s.retry));
            QCOMPARE(r.noticeChanged, s.changed);
            const std::string want = *s.notice ? std::string(s.notice) + kCut.second : "";
            QCOMPARE(r.notice, want);
        }
        QCOMPARE(p.failuresInARow(), 8);
        QVERIFY(p.start(At(167000), false));
        const RefreshPolicy::Result good = p.finish(At(167000), {true, {}});
        QVERIFY(good.recordFolder && good.noticeChanged && good.notice.empty());
        QCOMPARE(p.failuresInARow(), 0);
        QVERIFY(!p.due());
    }

    void goodPassMessagesAreShownOnceAndGoWithTheirFault() {
        RefreshPolicy p;
        const struct {
            std::vector<RefreshPolicy::Message> messages;
            bool changed;
            const char* notice;
        } passes[] = {
            {{kReadOnly}, true, kTold},
            {{kReadOnly}, false, kTold},
            {{}, true, ""},
            {{}, false, ""},
            {{kReadOnly}, false, ""},  // the day settles again: told already
            {{kCut}, true, "自動更新: getkekka  13\n型が一致しません。\n/pat/KS-56521.JRA"},
            {{kReadOnly}, true, kTold},
        };
        long t = 0;
        for (const auto& s : passes) {
            p.noticed(At(t));
            t += &s == &passes[5] ? 3600000 : 1000;  // an hour later
            QVERIFY(p.start(At(t), false));
            const RefreshPolicy::Result r = p.finish(At(t), {true, s.messages});
            QCOMPARE(r.noticeChanged, s.changed);
            QCOMPARE(r.notice, std::string(s.notice));
        }
    }

    void theUsersRefreshEndsTheFailureAndTheRetry() {
        RefreshPolicy::Delays d;
        d.failureShown = Ms(0);
        RefreshPolicy p(d);
        p.noticed(At(0));
        QVERIFY(p.start(At(1000), false));
        QVERIFY(!p.finish(At(1000), {false, {}}).notice.empty());  // no file known
        const RefreshPolicy::Result r = p.passedByHand();
        QVERIFY(r.recordFolder && r.noticeChanged && r.notice.empty());
        QVERIFY(!p.due());
        QCOMPARE(zb::ReadFailureNotice({}, 3), std::string("自動更新: 3 分間読み込めません"));
    }
};

QTEST_APPLESS_MAIN(RefreshPolicyTest)
#include "refresh_policy_test.moc"
