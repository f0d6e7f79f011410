// Following PAT98's folder: one pass per burst of writes, watches renewed
// after a file is replaced by rename, retries after a failed pass, and no
// timer at all while not following.

#include "windows/folder_follower.h"

#include <QtTest>
#include <filesystem>
#include <string>

#include "fixtures/pat98_writer.h"

namespace {

class FolderFollowerTest : public QObject {
    Q_OBJECT

  private slots:
    void burstsGiveOnePassAndRenamesStayWatched() {
        zb::fixture::TempDir dir;
        zb::fixture::Pat98Dir d(dir.path());
        d.writeBytes("KS-56521.JRA", "a");
        int passes = 0;
        bool ok = true;
        zb::FolderFollower f([&] { return ++passes, ok; }, nullptr);
        QVERIFY(f.timersIdle());
        f.setDelays(200, 60000, {100, 300});
        f.follow(dir.path());
        for (const char* text : {"b", "bc", "bcd"}) {  // a burst
            d.writeBytes("KS-56521.JRA", text);
            QTest::qWait(50);
        }
        QTRY_COMPARE_WITH_TIMEOUT(passes, 1, 3000);
        QTest::qWait(400);
        QCOMPARE(passes, 1);
        // Replaced by rename, as PAT98 may do; then changed in place.
        d.writeBytes("new.tmp", "x");
        std::filesystem::rename(dir.path() + "/new.tmp", dir.path() + "/KS-56521.JRA");
        QTRY_COMPARE_WITH_TIMEOUT(passes, 2, 3000);
        ok = false;
        d.writeBytes("KS-56521.JRA", "changed in place");
        // The failed pass is tried again after 100 and then 300 ms.
        QTRY_COMPARE_WITH_TIMEOUT(f.failuresInARow(), 3, 3000);
        ok = true;
        QTRY_COMPARE_WITH_TIMEOUT(f.failuresInARow(), 0, 3000);
        const int settled = passes;
        d.writeBytes("notes.txt", "not a PAT98 file");
        QTest::qWait(400);
        QCOMPARE(passes, settled);
        f.stop();
        QVERIFY(f.timersIdle());
        d.writeBytes("KS-56521.JRA", "after stop");
        QTest::qWait(400);
        QCOMPARE(passes, settled);
    }

    void listingCheckCatchesWhatNoNoticeTold() {
        zb::fixture::TempDir dir;
        int passes = 0;
        zb::FolderFollower f([&] { return ++passes, true; }, nullptr);
        f.setDelays(50, 100, {100});
        f.follow(dir.path());
        f.follow(dir.path() + "/elsewhere");  // a redirect to a folder not yet there
        QVERIFY(!f.timersIdle());
        QVERIFY(QDir().mkdir(QString::fromStdString(dir.path() + "/elsewhere")));
        zb::fixture::Pat98Dir(dir.path() + "/elsewhere").writeBytes("UY-A.JRA", "x");
        QTRY_VERIFY_WITH_TIMEOUT(passes >= 1, 3000);
    }
};

}  // namespace

QTEST_GUILESS_MAIN(FolderFollowerTest)
#include "folder_follower_test.moc"
