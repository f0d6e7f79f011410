// The passbook window offscreen: pages, best and worst days, the totals tool
// tip and the stored position.

#include "windows/FmKei.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QScrollBar>
#include <QWheelEvent>
#include <QtTest>
#include <memory>
#include <string>

#include "fixtures/pat98_writer.h"
#include "fixtures/recording_sink.h"
#include "windows/FMmain.h"
#include "windows/qt_messages.h"
#include "windows/save_png.h"
#include "windows/twips.h"

using zb::AppState;
using zb::PassbookEntry;

namespace {

PassbookEntry Day(int n, int32_t stake, int32_t payout) {
    PassbookEntry e;
    e.date.assign(zb::Ascii(std::to_string(20010000 + 100 * (1 + n / 28) + 1 + n % 28)));
    e.stake = stake;
    e.payout = payout;
    e.profit = payout - stake;
    return e;
}

PassbookEntry Empty() {
    PassbookEntry e;
    e.date.assign(u"00000000");
    return e;
}

// A passbook as ReadPassbook leaves it: `days` day lines (the first `filled`
// of them real days, every third one a loss), then the open slot.
std::unique_ptr<AppState> Book(int days, int filled) {
    auto s = std::make_unique<AppState>();
    s->ScreenHeight = 12000;
    s->ScreenWidth = 12000;
    for (int i = 0; i < days; ++i)
        s->Passbook.push_back(i < filled ? Day(i, 1000 + 100 * i, i % 3 == 1 ? 300 : 1500 + 70 * i)
                                         : Empty());
    s->Passbook.push_back(Empty());
    s->PassbookCount = days;
    for (int i = 0; i <= 10; ++i) s->BestDays(i) = s->WorstDays(i) = Empty();
    return s;
}

// Days from the first of January of `from`, one every `step` days, each
// profit from f(i): losing runs across several years.
std::unique_ptr<AppState> Seasons(int count, int step, int (*profit)(int)) {
    auto s = Book(0, 0);
    s->Passbook.clear();
    for (int i = count - 1; i >= 0; --i) {
        const int n = i * step, y = 2001 + n / 336, m = 1 + n % 336 / 28, d = 1 + n % 28;
        PassbookEntry e = Day(0, 1000, 1000 + profit(i));
        e.date.assign(zb::Ascii(std::to_string(y * 10000 + m * 100 + d)));
        s->Passbook.push_back(e);
    }
    s->Passbook.push_back(Empty());
    s->PassbookCount = count;
    return s;
}

QString Row(const zb::FmKei& k, int r) {
    return k.lbDate(r)->text() + "|" + k.lbTohyo(r)->text() + "|" + k.lbHarai(r)->text() + "|" +
           k.lbSoneki(r)->text();
}
QColor ProfitColour(const zb::FmKei& k, int r) {
    return k.lbSoneki(r)->palette().color(QPalette::WindowText);
}

}  // namespace

class FmKeiTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { zb::InstallFontSubstitutes(); }

    void pages_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("lastPage");
        QTest::addColumn<int>("filledOnLastPage");
        QTest::newRow("fresh 10") << 10 << 0 << 0;
        QTest::newRow("11") << 11 << 1 << 0;  // page 1: index 10 and the open slot
        QTest::newRow("25") << 25 << 2 << 5;  // page 2: indexes 20 to 25
    }
    void pages() {
        QFETCH(int, count);
        QFETCH(int, lastPage);
        QFETCH(int, filledOnLastPage);
        auto s = Book(count, count == 25 ? 25 : 0);
        zb::FmKei k(*s);
        QCOMPARE(k.windowTitle(), QString::fromStdU16String(u"通帳"));
        QCOMPARE(k.vScroll1()->maximum(), lastPage);
        QCOMPARE(k.vScroll1()->isEnabled(), lastPage != 0);
        QCOMPARE(k.vScroll1()->value(), 0);
        k.vScroll1()->setValue(lastPage);
        for (int r = 0; r < 10; ++r) QCOMPARE(!k.lbDate(r)->text().isEmpty(), r < filledOnLastPage);
        // The wheel (the rows pass it on) turns a page back, while there are pages.
        QWheelEvent up({5, 5}, {5, 5}, {}, {0, 120}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&k, &up);
        QCOMPARE(k.vScroll1()->value(), std::max(lastPage - 1, 0));
    }

    void rowsColoursAndTotals() {
        auto s = Book(25, 25);
        s->PassbookStakeSum = 1200;
        s->PassbookPayoutSum = 950;
        s->PassbookProfitSum = -1234567;
        zb::FmKei k(*s);
        QCOMPARE(Row(k, 0), QStringLiteral("2001/01/01|1000|1500|500"));
        QCOMPARE(Row(k, 1), QStringLiteral("2001/01/02|1100|300|-800"));
        QCOMPARE(ProfitColour(k, 1), QColor(255, 0, 0));
        QCOMPARE(ProfitColour(k, 0), QColor(0, 0, 0));
        QCOMPARE(k.label5()->toolTip(),
                 QString::fromStdU16String(u"投票 1,200   払戻 950   損益 -1,234,567"));
        // Row 1 shows a loss on page 2 and a gain on page 1: red, then black.
        k.vScroll1()->setValue(2);
        QCOMPARE(Row(k, 1), QStringLiteral("2001/01/22|3100|2970|-130"));
        QCOMPARE(ProfitColour(k, 1), QColor(255, 0, 0));
        k.vScroll1()->setValue(1);
        QCOMPARE(Row(k, 1), QStringLiteral("2001/01/12|2100|2270|170"));
        QCOMPARE(ProfitColour(k, 1), QColor(0, 0, 0));
    }

    void bestAndWorstViewsAndBack() {
        auto s = Book(25, 25);
        for (int i = 0; i < 3; ++i) s->BestDays(i) = Day(i, 1000, 5000 - 1000 * i);
        s->BestDays(10) = Day(9, 1, 99999);  // the eleventh is never shown
        for (int i = 0; i < 10; ++i) s->WorstDays(i) = Day(i, 5000, 100 * i);
        zb::FmKei k(*s);
        k.show();
        QVERIFY(QTest::qWaitForWindowExposed(&k));
        k.vScroll1()->setValue(2);
        SavePng(&k, QStringLiteral("passbook_days_page2.png"));
        k.vScroll1()->setValue(1);
        SavePng(&k, QStringLiteral("passbook_days_page1.png"));
        k.toolButton(2)->trigger();
        QVERIFY(k.label5()->isHidden());
        QVERIFY(!k.vScroll1()->isEnabled());
        for (int r = 0; r < 10; ++r) QCOMPARE(k.lbDate(r)->text().isEmpty(), r >= 3);
        QCOMPARE(Row(k, 0), QStringLiteral("2001/01/01|1000|5000|4000"));
        SavePng(&k, QStringLiteral("passbook_best.png"));
        k.toolButton(3)->trigger();
        QCOMPARE(Row(k, 9), QStringLiteral("2001/01/10|5000|900|-4100"));
        QCOMPARE(ProfitColour(k, 9), QColor(255, 0, 0));
        SavePng(&k, QStringLiteral("passbook_worst.png"));
        k.toolButton(1)->trigger();
        QVERIFY(k.label5()->isVisible());
        QVERIFY(k.vScroll1()->isEnabled());
        QCOMPARE(k.vScroll1()->value(), 1);
        QCOMPARE(Row(k, 0), QStringLiteral("2001/01/11|2000|300|-1700"));
    }

    void historyChartTotalsAndBackToTheDays() {
        auto s = Seasons(30, 20, [](int i) { return i < 12 ? -400 : 900 - 100 * (i % 5); });
        zb::FmKei k(*s);
        k.show();
        k.vScroll1()->setValue(2);
        k.toolButton(4)->trigger();
        QVERIFY(k.chart()->isVisible() && !k.lbDate(0)->isVisible() && !k.head(0)->isVisible());
        QCOMPARE(k.chart()->points().size(), std::size_t{30});
        const auto& p = k.chart()->points();
        QVERIFY(p[0].x() < p[29].x() && p[11].y() > p[0].y());  // losing first: the curve falls
        QCOMPARE(k.chart()->tipAt(int(p[11].x())),
                 QString::fromStdU16String(u"2001/08/25  累計 -4,800"));
        SavePng(&k, QStringLiteral("passbook_chart_seasons.png"));
        k.toolButton(5)->trigger();
        QVERIFY(!k.chart()->isVisible() && k.lbDate(0)->isVisible());
        QCOMPARE(k.head(0)->text(), QString::fromStdU16String(u"期間"));
        QCOMPARE(Row(k, 0), QStringLiteral("2001|17000|15700|-1300"));
        QCOMPARE(ProfitColour(k, 0), QColor(255, 0, 0));
        QCOMPARE(Row(k, 1), QStringLiteral("2001-01|2000|1200|-800"));
        QCOMPARE(k.lbDate(0)->toolTip(), QString::fromStdU16String(u"日数 17   回収率 92.3%"));
        QCOMPARE(k.vScroll1()->maximum(), 2);  // 2 years, 21 months and the total
        k.vScroll1()->setValue(2);
        QCOMPARE(Row(k, 3), QString::fromStdU16String(u"計|30000|37500|7500"));
        QVERIFY(Row(k, 4).startsWith(u'|'));
        SavePng(&k, QStringLiteral("passbook_totals.png"));
        k.toolButton(1)->trigger();
        QCOMPARE(k.head(0)->text(), QString::fromStdU16String(u"日付"));
        QCOMPARE(k.vScroll1()->value(), 2);
        QCOMPARE(Row(k, 0), QStringLiteral("2001/07/13|1000|600|-400"));
    }

    // The chart draws one point a pixel column at the most, however many days.
    void chartOfAHundredThousandDays() {
        auto many =
            Seasons(100000, 1, [](int i) { return (i * 7919) % 2001 - 1000 + (i / 20000) % 2; });
        zb::FmKei big(*many);
        big.toolButton(4)->trigger();
        QVERIFY(big.chart()->points().size() <= std::size_t(big.chart()->width()));
        SavePng(&big, QStringLiteral("passbook_chart_100000.png"));
    }

    void saveWritesCsvAndAFailureNamesTheFile() {
        zb::fixture::TempDir dir;
        auto s = Seasons(2, 1, [](int) { return -100; });
        s->HomeFolder = s->Pat98Folder = dir.path();
        zb::fixture::RecordingSink sink;
        s->Messages = &sink;
        zb::fixture::Pat98Dir(dir.path()).writeBytes("Korvane.txt", "kept");
        zb::FmKei k(*s);
        std::string suggested;
        std::string target = dir.path() + "/out.csv";
        k.setPickSaveFile([&](QWidget*, const std::string& name) {
            suggested = name;
            return target;
        });
        k.toolButton(6)->trigger();
        QCOMPARE(QDir::fromNativeSeparators(QString::fromStdString(suggested)),
                 QDir::fromNativeSeparators(QString::fromStdString(dir.path() + "/Korvane.csv")));
        QCOMPARE(zb::fixture::ReadAll(target),
                 std::string("\xEF\xBB\xBF日付,投票,払戻,損益\r\n2001-01-01,1000,900,-100\r\n"
                             "2001-01-02,1000,900,-100\r\n"));
        QVERIFY(k.toolButton(1)->isChecked() && !k.toolButton(6)->isChecked());
        for (const std::string& bad : {dir.path() + "/missing/out.csv", dir.path() + "/korvane.TXT",
                                       dir.path() + "/./Korvane.txt"}) {
            target = bad;
            sink.messages.clear();
            k.toolButton(6)->trigger();
            QCOMPARE(sink.messages.size(), std::size_t{1});
            QVERIFY(sink.messages[0].text.find(bad) != std::string::npos);
        }
        QCOMPARE(zb::fixture::ReadAll(dir.path() + "/Korvane.txt"), std::string("kept"));
    }

    void positionBeyondTheScreenIsStoredAsZero() {
        auto s = Book(10, 0);
        s->settings.Top(zb::kSlotPassbook) = 1500;
        s->settings.Left(zb::kSlotPassbook) = 3000;
        auto* k = new zb::FmKei(*s);
        QCOMPARE(k->pos(), QPoint(zb::TwipsToPxX(3000), zb::TwipsToPxY(1500)));
        k->show();
        k->move(120, 801);
        k->close();
        QCOMPARE(s->settings.Top(zb::kSlotPassbook), 0);
        QCOMPARE(s->settings.Left(zb::kSlotPassbook), std::lround(zb::PxToTwipsX(120)));
    }

    void openedAnewFromTheMainWindowAndClosedByRefresh() {
        zb::fixture::TempDir dir;
        auto s = Book(10, 0);
        s->HomeFolder = s->Pat98Folder = dir.path();
        s->AppFolder = dir.path() + "/";
        zb::FMmain m(*s);
        m.toolButton(5)->trigger();
        QPointer<QWidget> first = m.FmKei;
        QVERIFY(qobject_cast<zb::FmKei*>(first.data()));
        m.ShowPassbook();
        QVERIFY(m.FmKei && m.FmKei != first);
        QTRY_VERIFY(first.isNull());
        m.RefreshAll();
        QTRY_VERIFY(m.FmKei.isNull());
    }
};

QTEST_MAIN(FmKeiTest)
#include "FmKei_test.moc"
