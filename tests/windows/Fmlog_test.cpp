// The race detail window and the results board offscreen: what a click in
// the bank chart opens, their texts and rows, the scroll bar, and closing.

#include "windows/Fmlog.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QWheelEvent>
#include <QtTest>
#include <memory>

#include "accounting/passbook.h"
#include "fixtures/demo_day.h"
#include "fixtures/pat98_writer.h"
#include "fixtures/recording_sink.h"
#include "program/startup.h"
#include "readers/readers.h"
#include "startup/settings.h"
#include "windows/FMmain.h"
#include "windows/FmVision.h"
#include "windows/fmbank.h"
#include "windows/qt_messages.h"
#include "windows/save_png.h"
#include "windows/twips.h"

using zb::AppState;

namespace {

QString Q(const char16_t* t) {
    return QString::fromStdU16String(t);
}

// The demo day read as start-up reads it, with the bank table the chart
// would have filled for the races the tests click.
struct DemoWorld {
    zb::fixture::TempDir dir;
    zb::fixture::RecordingSink sink;
    std::unique_ptr<AppState> s = std::make_unique<AppState>();

    DemoWorld() {
        zb::fixture::WriteDemoDay(dir.path());
        s->Messages = &sink;
        s->AppFolder = dir.path() + "/";
        s->HomeFolder = s->Pat98Folder = dir.path();
        s->ReadOnly = true;
        zb::LoadSettings(*s);
        s->ScreenHeight = s->ScreenWidth = 12000;
        zb::ComputeDefaultPositions(*s);
        zb::ReadProgramme(*s);
        zb::LoadAll(*s);
        s->BankTable(0, 0) = 1300;  // Tokyo 1R, settled
        s->BankTable(3, 0) = 6300;
        s->BankTable(0, 4) = 1100;  // Tokyo 5R, dead heat
        s->BankTable(3, 4) = 4260;
        s->BankTable(0, 11) = 300;  // Tokyo 12R, open
        s->BankTable(0, 12) = 300;  // tomorrow
        s->BankTable(3, 12) = 1;
    }
    void select(int meeting, int race, int tomorrow) {
        s->DetailVenue = static_cast<int16_t>(meeting);
        s->DetailRace = static_cast<int16_t>(race);
        s->DetailTomorrow = static_cast<int16_t>(tomorrow);
    }
};

zb::Fmlog* Detail(zb::FMmain& m) {
    return qobject_cast<zb::Fmlog*>(m.Fmlog.data());
}
zb::FmVision* Board(zb::FMmain& m) {
    return qobject_cast<zb::FmVision*>(m.FmVision.data());
}

}  // namespace

class FmlogTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { zb::InstallFontSubstitutes(); }

    void clickOpensWhatTheRaceHas() {
        DemoWorld w;
        zb::FMmain m(*w.s);
        w.select(0, 2, 0);  // no stake
        m.ShowRaceDetail();
        QVERIFY(!m.Fmlog && !m.FmVision);

        w.select(0, 11, 0);
        m.ShowRaceDetail();
        QVERIFY(Detail(m) && !m.FmVision);
        zb::Fmlog* d = Detail(m);
        QCOMPARE(d->windowTitle(), Q(u"詳細 - 東京 5回 2日 12R"));
        QCOMPARE(d->text1()->toPlainText(), Q(u" 単  5       300  [   9.0]\n"));
        QVERIFY(d->picture2()->isVisibleTo(d));
        QCOMPARE(d->lbTime()->text(), Q(u"発走時刻　16時30分"));
        QCOMPARE(d->lbkei()->text(), QStringLiteral("-300"));
        QCOMPARE(d->lbkei()->palette().color(QPalette::Text), QColor(255, 0, 0));
        SavePng(d, "Fmlog_open_race.png");

        // A new click replaces the window.
        QPointer<QWidget> old = d;
        w.select(0, 0, 0);
        m.ShowRaceDetail();
        QTRY_VERIFY(old.isNull());
        d = Detail(m);
        QVERIFY(d && Board(m));
        QVERIFY(!d->picture2()->isVisibleTo(d));
        QCOMPARE(d->lbpar()->text(), QStringLiteral("484.6"));
        QCOMPARE(d->lbkei()->palette().color(QPalette::Text),
                 d->lbharai()->palette().color(QPalette::Text));
        QCOMPARE(Board(m)->windowTitle(), Q(u"競走成績 - 東京 5回 2日 1R"));
        SavePng(d, "Fmlog_settled_race.png");

        // Closing the detail window closes the board; a position beyond the
        // screen is saved as the slot's default.
        d->move(zb::TwipsToPxX(13000), zb::TwipsToPxY(1500));
        QPointer<QWidget> board = m.FmVision;
        d->close();
        QTRY_VERIFY(board.isNull() && m.Fmlog.isNull());
        QCOMPARE(w.s->settings.Left(zb::kSlotRaceDetail), w.s->DefaultLeft(zb::kSlotRaceDetail));

        w.select(0, 0, 1);
        m.ShowRaceDetail();
        QVERIFY(Detail(m) && !m.FmVision);
        QCOMPARE(Detail(m)->windowTitle(), Q(u"詳細 - 東京 5回 2日 前売"));
        QVERIFY(!Detail(m)->picture2()->isVisibleTo(Detail(m)));
        SavePng(Detail(m), "Fmlog_tomorrow.png");
        QVERIFY(w.sink.messages.empty());
    }

    // The bank chart's clicks, then closing the chart.
    void chartClicksOpenAndItsCloseCloses() {
        DemoWorld w;
        zb::FMmain m(*w.s);
        m.ShowBankChart();
        auto* chart = qobject_cast<zb::fmbank*>(m.fmbank.data());
        QVERIFY(chart);
        QTest::mouseClick(chart->soneki(0), Qt::LeftButton);  // Tokyo 1R, settled
        QVERIFY(m.Fmlog && m.FmVision);
        QTest::mouseClick(chart->tohyo(11), Qt::LeftButton);  // Tokyo 12R, open
        QTRY_VERIFY(m.Fmlog && m.FmVision.isNull());
        QCOMPARE(Detail(m)->windowTitle(), Q(u"詳細 - 東京 5回 2日 12R"));
        QTest::mouseClick(chart->tohyo(2), Qt::LeftButton);  // no stake: nothing
        QCOMPARE(Detail(m)->windowTitle(), Q(u"詳細 - 東京 5回 2日 12R"));
        QTest::mouseClick(chart->soneki(4), Qt::LeftButton);  // Tokyo 5R, settled
        QTRY_VERIFY(m.Fmlog && m.FmVision);
        chart->close();
        QTRY_VERIFY(m.Fmlog.isNull() && m.FmVision.isNull());
        QVERIFY(w.sink.messages.empty());
    }

    void failureIsReportedAndOpensNothing() {
        DemoWorld w;
        zb::FMmain m(*w.s);
        w.s->CurrentProc = "bankdsp";
        w.s->MeetingTable(3, 1) = 0;  // no venue behind meeting 2
        w.s->BankTable(2, 0) = 100;
        w.select(2, 0, 0);
        m.ShowRaceDetail();
        QVERIFY(!m.Fmlog && !m.FmVision);
        QCOMPARE(w.sink.messages.size(), std::size_t{1});
        QCOMPARE(w.sink.messages[0].title, std::string("bankdsp  9"));
    }

    // 9 rows fit; the 10th brings the scroll bar, one step 240 twips.
    void boardScrollsWholeRows() {
        DemoWorld w;
        zb::FMmain m(*w.s);
        w.select(0, 4, 0);
        m.ShowRaceDetail();
        zb::FmVision* b = Board(m);
        QVERIFY(b);
        QCOMPARE(b->lbTtl(0)->text(), Q(u"　単勝　"));
        QCOMPARE(b->lbTtl(1)->text(), Q(u"　　　　"));
        QCOMPARE(b->lbKekka(1)->text(), QStringLiteral("    9       310"));
        QCOMPARE(b->lbKekka(1)->palette().color(QPalette::Window), QColor(192, 192, 255));
        QVERIFY(b->vScroll1()->isVisibleTo(b));
        QCOMPARE(b->vScroll1()->maximum(), 1);
        const int top = b->picture2()->y();
        b->vScroll1()->setValue(1);
        QCOMPARE(top - b->picture2()->y(), zb::TwipsToPxY(240));
        QCOMPARE(b->lbTtl(10)->text(), QString());
        SavePng(b, "FmVision_dead_heat_scrolled.png");
        // The wheel scrolls too; the rows stay inside the border.
        b->vScroll1()->setValue(0);
        QWheelEvent down({5, 5}, {5, 5}, {}, {0, -120}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(b, &down);
        QCOMPARE(b->vScroll1()->value(), 1);
        const QImage shot = b->picture1()->grab().toImage();
        const QRgb line = shot.pixel(0, 0);
        for (int x = 0; x < shot.width(); ++x) QCOMPARE(shot.pixel(x, shot.height() - 1), line);
        for (int y = 0; y < shot.height(); ++y) QCOMPARE(shot.pixel(shot.width() - 1, y), line);

        // A dead heat and two scratched horses: 11 rows.
        w.s->PayoutCount = 0;
        for (const char* e :
             {"050510006000250", "050510009000310", "050520006000120", "050520009000130",
              "050520001000380", "050530405000560", "050540609000880", "050550106000640",
              "050550109000720", "050510003000000", "050520003000000", "050510012000000"})
            w.s->PayoutTable(w.s->PayoutCount++).assign(QString::fromLatin1(e).toStdU16String());
        m.ShowRaceDetail();
        b = Board(m);
        QVERIFY(b);
        QCOMPARE(b->lbTtl(9)->text(), Q(u"　返還　"));
        QCOMPARE(b->lbKekka(9)->text(), QStringLiteral(" 3 12"));
        QCOMPARE(b->lbKekka(9)->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QCOMPARE(b->lbKekka(9)->palette().color(QPalette::Window), QColor(255, 255, 255));
        QCOMPARE(b->vScroll1()->maximum(), 1);
        b->vScroll1()->setValue(1);
        SavePng(b, "FmVision_scratched_scrolled.png");

        // Nine rows: no scroll bar.
        w.s->PayoutCount = 9;
        m.ShowRaceDetail();
        QVERIFY(!Board(m)->vScroll1()->isVisibleTo(Board(m)));
        SavePng(Board(m), "FmVision_nine_rows.png");
    }
};

QTEST_MAIN(FmlogTest)
#include "Fmlog_test.moc"
