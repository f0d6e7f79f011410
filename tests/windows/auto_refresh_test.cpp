// 自動更新: another process writes the day's result files while the window
// follows the folder. No message box, the figures a manual refresh would
// show, the day posted once; open windows stay where they are, as they were.

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QScrollBar>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "accounting/day_figures.h"
#include "fixtures/loaded_day.h"
#include "windows/FMmain.h"
#include "windows/FmKei.h"
#include "windows/folder_follower.h"
#include "windows/qt_messages.h"

namespace {

// The day's folder without its result and payout files, which go to the
// folder "later" beside it; start-up has run on it.
struct Following {
    zb::fixture::LoadedDay day;
    std::string later = zb::fixture::StartWithResultsLater(day);
    Following() { day.s->settings.AutoRefresh = true; }
    int postedDays() const {
        const std::string book = zb::fixture::ReadAll(day.tmp.path() + "/Korvane.txt");
        int n = 0;
        for (std::size_t i = 0; i < 10 * 35 && i < book.size(); i += 35)
            n += book.compare(i, 8, "20261206") == 0;
        return n;
    }
};

}  // namespace

class AutoRefreshTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { zb::InstallFontSubstitutes(); }

    void resultsWrittenMeanwhileArePostedOnceWithoutAMessage() {
#ifdef _WIN32
        QSKIP("the writer is a POSIX shell");
#else
        Following f;
        zb::FMmain m(*f.day.s);
        m.follower()->setDelays(300, 2000, {200, 400});
        QVERIFY(m.menuPop()->findChild<QAction*>(QStringLiteral("MenuAuto"))->isChecked());
        QCOMPARE(f.postedDays(), 0);
        // Half of each file first, then the whole file, by another process.
        QProcess writer;
        writer.start("/bin/sh", {"-c", "cd '" + QString::fromStdString(f.later) +
                                           "' && for x in *; do head -c 300 \"$x\" > \"../$x\"; "
                                           "done; sleep 1; for x in *; do cp \"$x\" ..; done"});
        QVERIFY(writer.waitForFinished(10000));
        QTRY_COMPARE_WITH_TIMEOUT(m.label(1)->text(),
                                  QString::fromStdU16String(u"全投票が確定しました"), 10000);
        QTest::qWait(800);
        // What a manual refresh shows on the same folder.
        zb::fixture::LoadedDay fresh;
        zb::StartPlatform p{f.day.tmp.path(), fresh.tmp.path() + "/", 12000, 12000};
        QVERIFY(zb::Main(*fresh.s, p));
        const zb::MainTexts t = zb::ComputeMainTexts(*fresh.s);
        for (int i : {0, 1, 12, 13, 14, 15, 16})
            QCOMPARE(m.label(i)->text(), QString::fromStdU16String(t.label[std::size_t(i)]));
        QCOMPARE(f.day.titles(), std::string());
        QCOMPARE(f.postedDays(), 1);
        QVERIFY(m.label(1)->toolTip().isEmpty());
#endif
    }

    void openWindowsKeepTheirPlaceViewAndPage() {
        Following f;
        zb::FMmain m(*f.day.s);
        m.follower()->stop();
        m.ShowPassbook();
        auto* book = qobject_cast<zb::FmKei*>(m.FmKei.data());
        book->toolButton(5)->trigger();
        book->move(140, 120);
        m.ShowBankChart();
        m.ShowBetList();
        const QPoint bankAt = m.fmbank->pos();
        QVERIFY(m.AutoRefresh().ok);
        book = qobject_cast<zb::FmKei*>(m.FmKei.data());
        QVERIFY(book && m.fmbank && m.FMlist);
        QCOMPARE(book->place().view, 5);
        QCOMPARE(book->head(0)->text(), QString::fromStdU16String(u"期間"));
        QCOMPARE(book->pos(), QPoint(140, 120));
        QCOMPARE(m.fmbank->pos(), bankAt);
        // A manual refresh still closes them.
        m.RefreshAll();
        QTRY_VERIFY(m.FmKei.isNull() && m.fmbank.isNull() && m.FMlist.isNull());
    }
};

QTEST_MAIN(AutoRefreshTest)
#include "auto_refresh_test.moc"
