// The bank chart offscreen: width per meeting count, hidden rows, click
// rules, cursors and colours, closing, and its opening from the main window.

#include "windows/fmbank.h"

#include <QFrame>
#include <QLabel>
#include <QToolBar>
#include <QtTest>
#include <memory>

#include "fixtures/loaded_day.h"
#include "platform/sjis.h"
#include "program/startup.h"
#include "startup/settings.h"
#include "windows/FMmain.h"
#include "windows/qt_messages.h"
#include "windows/save_png.h"
#include "windows/twips.h"

using zb::fmbank;
using zb::fixture::Bet;
using zb::fixture::RaceDay;
using zb::fixture::RaceResult;

namespace {

constexpr int kTokyo = 5, kHanshin = 9, kKokura = 10;

// A result file that settles the race: horse `winner` wins at `win` yen.
RaceResult Settled(int winner, long win) {
    return RaceResult()
        .win(winner, win)
        .place(winner, 150)
        .bracket(1, 2, 500)
        .quinella(1, winner, 900)
        .wide(1, winner, 300);
}

// One, two or three meetings with settled wins and losses, open races, a
// meeting that runs ten races and bets on tomorrow's races.
RaceDay Day(int meetings) {
    RaceDay day("20261206");
    day.meeting(kTokyo, 3, 8);
    if (meetings >= 2) day.meeting(kHanshin, 2, 4, "111111111100");
    if (meetings >= 3) day.meeting(kKokura, 1, 1);
    day.tomorrow(kTokyo, 3, 9).tomorrow(kHanshin, 2, 5, "000000000000");
    std::vector<Bet> bets = {Bet::Win(kTokyo, 1, 7, 3),         Bet::Win(kTokyo, 2, 4, 2),
                             Bet::Place(kTokyo, 3, 1, 1),       Bet::Quinella(kTokyo, 5, 2, 6, 10),
                             Bet::Win(kTokyo, 9, 3, 4).later(), Bet::Win(kTokyo, 11, 5, 2).later()};
    if (meetings >= 2)
        bets.insert(bets.end(), {Bet::Wide(kHanshin, 4, 2, 6, 5), Bet::Win(kHanshin, 10, 2, 1)});
    if (meetings >= 3) bets.insert(bets.end(), {Bet::Win(kKokura, 12, 8, 20)});
    day.buy("20261206", bets);
    day.result(kTokyo, 1, Settled(7, 450)).result(kTokyo, 2, Settled(3, 450));
    if (meetings >= 2) day.result(kHanshin, 4, Settled(6, 300));
    if (meetings >= 3) day.result(kKokura, 12, Settled(8, 1230));
    return day;
}

// A day read as start-up reads it, with the settings' defaults.
struct World {
    zb::fixture::LoadedDay d;
    zb::AppState& s = *d.s;
    explicit World(int meetings) {
        s.AppFolder = d.tmp.path() + "/";
        zb::LoadSettings(s);
        s.ScreenHeight = 12000;
        s.ScreenWidth = 12000;
        zb::ComputeDefaultPositions(s);
        s.settings.Top(zb::kSlotBankChart) = 1500;
        s.settings.Left(zb::kSlotBankChart) = 3000;
        d.load(Day(meetings));
        zb::LoadAll(s);
    }
};

// A chart built the way the main window builds it, counting detail requests.
struct Chart {
    World w;
    int detailOpened = 0, detailClosed = 0;
    std::unique_ptr<fmbank> f;
    explicit Chart(int meetings) : w(meetings) {
        f = std::make_unique<fmbank>(w.s, zb::bankdsp(w.s));
        f->setHooks({[this] { ++detailOpened; }, [this] { ++detailClosed; }});
        f->show();
    }
};

QString Q(const char16_t* t) {
    return QString::fromStdU16String(t);
}

QColor TextColour(const QLabel* l) {
    return l->palette().color(QPalette::WindowText);
}

}  // namespace

class FmbankTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { zb::InstallFontSubstitutes(); }

    void widthPerMeetingCount_data() {
        QTest::addColumn<int>("meetings");
        QTest::addColumn<int>("twips");
        QTest::newRow("one") << 1 << 2215;
        QTest::newRow("three") << 3 << 6325;
    }
    void widthPerMeetingCount() {
        QFETCH(int, meetings);
        QFETCH(int, twips);
        Chart c(meetings);
        // Offscreen there is no frame: the outer width is the client's.
        QCOMPARE(c.f->frameGeometry().width(), zb::TwipsToPxX(twips));
        QCOMPARE(c.f->minimumSize(), c.f->maximumSize());
        for (int i = 0; i < 3; ++i) QCOMPARE(c.f->picture1(i)->isVisible(), i < meetings);
        QCOMPARE(c.f->pos(), QPoint(zb::TwipsToPxX(3000), zb::TwipsToPxY(1500)));
        SavePng(c.f.get(), QStringLiteral("fmbank_%1.png").arg(meetings));
    }

    void textsAndColours() {
        Chart c(3);
        QCOMPARE(c.f->kaisai(0)->text(), Q(u"東京 3回 8日"));
        QCOMPARE(c.f->kaisai(2)->text(), Q(u"小倉 1回 1日"));
        const QColor red(255, 0, 0), grey(0xC0, 0xC0, 0xC0),
            plain = QPalette().color(QPalette::WindowText);
        struct Row {
            int n;
            const char16_t *stake, *profit;
            QColor colour;
        };
        const Row rows[] = {{0, u"300", u"+1050", plain},   {1, u"200", u"-200", red},
                            {2, u"100", u"-100", grey},     {4, u"1000", u"-1000", grey},
                            {12 + 3, u"500", u"-500", red}, {24 + 11, u"2000", u"+22600", plain},
                            {5, u"0", u"0", grey}};
        for (const Row& r : rows) {
            QCOMPARE(c.f->tohyo(r.n)->text(), Q(r.stake));
            QCOMPARE(c.f->soneki(r.n)->text(), Q(r.profit));
            QCOMPARE(TextColour(c.f->soneki(r.n)), r.colour);
            QCOMPARE(c.f->tohyo(r.n)->testAttribute(Qt::WA_SetCursor), r.n != 5);
        }
        QCOMPARE(c.f->maeuri(0)->text(), QStringLiteral("600"));
        QCOMPARE(c.f->maeuri(0)->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(c.f->tohyokei(0)->text(), QStringLiteral("2200"));
        QCOMPARE(c.f->sonekikei(0)->text(), QStringLiteral("-250"));
        QCOMPARE(TextColour(c.f->sonekikei(0)), red);
        QCOMPARE(c.f->tohyo(0)->palette().color(QPalette::Window), QColor(Qt::white));
    }

    void hiddenRows() {
        Chart c(3);
        // Hanshin runs races 1 to 10 and nothing tomorrow; Kokura has no
        // programme for tomorrow.
        for (int n : {12 + 10, 12 + 11}) {
            QVERIFY(!c.f->label2(n)->isVisible());
            QVERIFY(!c.f->tohyo(n)->isVisible());
            QVERIFY(!c.f->soneki(n)->isVisible());
        }
        QVERIFY(c.f->tohyo(12 + 9)->isVisible() && c.f->label2(11)->isVisible());
        QVERIFY(c.f->maeuri(0)->isVisible() && c.f->lbzen(0)->isVisible());
        for (int i : {1, 2}) QVERIFY(!c.f->maeuri(i)->isVisible() && !c.f->lbzen(i)->isVisible());
    }

    void clickRules_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<int>("venue");
        QTest::addColumn<int>("race");
        QTest::addColumn<int>("tomorrow");
        QTest::newRow("stake with bets") << "tohyo" << 12 + 3 << true << 1 << 3 << 0;
        QTest::newRow("profit with bets") << "soneki" << 1 << true << 0 << 1 << 0;
        QTest::newRow("stake without bets") << "tohyo" << 24 + 5 << false << 2 << 5 << 0;
        QTest::newRow("tomorrow stake") << "maeuri" << 0 << true << 0 << 10 << 1;
        QTest::newRow("tomorrow without bets") << "maeuri" << 2 << false << 2 << -1 << 1;
    }
    void clickRules() {
        QFETCH(QString, label);
        QFETCH(int, index);
        QFETCH(bool, opens);
        Chart c(3);
        QLabel* l = label == QLatin1String("tohyo")    ? c.f->tohyo(index)
                    : label == QLatin1String("soneki") ? c.f->soneki(index)
                                                       : c.f->maeuri(index);
        l->show();  // the tomorrow row of a meeting without one is hidden
        QTest::mouseClick(l, Qt::LeftButton);
        QCOMPARE(c.detailOpened, opens ? 1 : 0);
        QTEST(int(c.w.s.DetailVenue), "venue");
        QTEST(int(c.w.s.DetailRace), "race");
        QTEST(int(c.w.s.DetailTomorrow), "tomorrow");
        QTest::mouseClick(l, Qt::RightButton);
        QCOMPARE(c.detailOpened, opens ? 1 : 0);
    }

    void closeSavesThePositionAndClosesTheDetail() {
        Chart c(1);
        c.f->move(zb::TwipsToPxX(4500), zb::TwipsToPxY(2400));
        c.f->close();
        QCOMPARE(c.detailClosed, 1);
        QCOMPARE(c.w.s.settings.Top(zb::kSlotBankChart), 2400);
        QCOMPARE(c.w.s.settings.Left(zb::kSlotBankChart), 4500);
        c.f->show();
        c.f->move(zb::TwipsToPxX(12300), zb::TwipsToPxY(300));
        c.f->close();
        QCOMPARE(c.w.s.settings.Top(zb::kSlotBankChart), 300);
        QCOMPARE(c.w.s.settings.Left(zb::kSlotBankChart), c.w.s.DefaultLeft(zb::kSlotBankChart));
    }

    void mainWindowOpensAndClosesTheChart() {
        World w(3);
        zb::FMmain m(w.s);
        m.show();
        m.ToolbarClick(3);
        auto* f = qobject_cast<fmbank*>(m.fmbank.data());
        QVERIFY(f && f->isVisible());
        QCOMPARE(f->windowTitle(), Q(u"収支 - 2026年12月6日 SUN"));
        QCOMPARE(f->parentWidget(), &m);
        // A second opening replaces the first.
        m.ToolbarClick(3);
        QTRY_VERIFY(m.findChildren<fmbank*>().size() == 1);
        f = qobject_cast<fmbank*>(m.fmbank.data());
        QTest::mouseClick(f->tohyo(1), Qt::LeftButton);
        QCOMPARE(int(w.s.DetailRace), 1);
        // Closing the chart closes the race detail window.
        QWidget detail;
        detail.show();
        m.Fmlog = &detail;
        f->close();
        QVERIFY(!detail.isVisible());
        // Refresh and minimise close the chart.
        m.ToolbarClick(3);
        QVERIFY(m.fmbank && m.fmbank->isVisible());
        m.ToolbarClick(1);
        QVERIFY(!m.fmbank || !m.fmbank->isVisible());
        m.ToolbarClick(3);
        m.MenuMin_Click();
        QVERIFY(!m.fmbank || !m.fmbank->isVisible());
        QVERIFY(w.d.sink.messages.empty());
    }

    void overflowShowsTheFailureAndNoChart() {
        World w(1);
        w.s.BetLog(0).assign(u"10501100019999011200000    ");
        w.s.BetLog(1).assign(u"10501100019999011200000    ");
        w.s.BetCount = 2;
        zb::FMmain m(w.s);
        m.ToolbarClick(3);
        QVERIFY(!m.fmbank);
        QCOMPARE(w.d.sink.messages.size(), std::size_t{1});
        QCOMPARE(w.d.sink.messages[0].title, std::string("bankdsp  6"));
    }
};

QTEST_MAIN(FmbankTest)
#include "fmbank_test.moc"
