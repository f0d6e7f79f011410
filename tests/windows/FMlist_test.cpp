// The bet list window offscreen, opened from the main window on the demo day.

#include "windows/FMlist.h"

#include <QAction>
#include <QDir>
#include <QPlainTextEdit>
#include <QtTest>
#include <memory>

#include "accounting/bet_list.h"
#include "fixtures/demo_day.h"
#include "fixtures/pat98_writer.h"
#include "fixtures/recording_sink.h"
#include "program/startup.h"
#include "startup/ini.h"
#include "startup/settings.h"
#include "windows/FMmain.h"
#include "windows/qt_messages.h"
#include "windows/save_png.h"
#include "windows/twips.h"

using zb::AppState;

namespace {

// The demo day as start-up leaves it, on the offscreen platform's screen.
struct DemoWorld {
    zb::fixture::TempDir dir;
    zb::fixture::RecordingSink sink;
    std::unique_ptr<AppState> s = std::make_unique<AppState>();
    DemoWorld() {
        zb::fixture::WriteDemoDay(dir.path());
        s->Messages = &sink;
        zb::Main(*s, zb::StartPlatform{dir.path(), dir.path(), 12000, 12000});
    }
};

QString Shown(const zb::FMlist* w) {
    return w->text1()->toPlainText();
}
QString Expected(const AppState& s) {
    return QString::fromStdU16String(s.ReportText)
        .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace

class FMlistTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { zb::InstallFontSubstitutes(); }

    void opensOnTheCurrentViewAndSwitchesViews() {
        DemoWorld w;
        QVERIFY(w.sink.messages.empty());
        zb::FMmain m(*w.s);
        m.toolButton(4)->trigger();
        auto* list = qobject_cast<zb::FMlist*>(m.FMlist.data());
        QVERIFY(list);
        QCOMPARE(list->windowTitle(), QString::fromStdU16String(u"履歴 - 2026年12月6日 SUN"));
        QCOMPARE(w.s->ListView, int16_t{1});
        QVERIFY(list->toolButton(2)->isChecked());
        QVERIFY(Shown(list).startsWith(QString::fromStdU16String(u"【受付けられたベット】  871")));
        QCOMPARE(list->text1()->font().family(), QString::fromStdU16String(u"ＭＳ ゴシック"));
        QCOMPARE(list->text1()->geometry(), QRect(zb::TwipsToPxX(30), zb::TwipsToPxY(360),
                                                  zb::TwipsToPxX(4335), zb::TwipsToPxY(4575)));
        const QStringList captions = {
            QString::fromStdU16String(u"全履歴"), QString::fromStdU16String(u"受付\u3000"),
            QString::fromStdU16String(u"未確定"), QString::fromStdU16String(u"的中\u3000")};
        list->show();
        QVERIFY(QTest::qWaitForWindowExposed(list));
        for (int b = 1; b <= 4; ++b) {
            QCOMPARE(list->toolButton(b)->text(), captions[b - 1]);
            list->toolButton(b)->trigger();
            QCOMPARE(w.s->ListView, int16_t(b - 1));
            QVERIFY(list->toolButton(b)->isChecked());
            QCOMPARE(Shown(list), Expected(*w.s));
            SavePng(list, QStringLiteral("betlist_view%1.png").arg(b - 1));
        }
        // The pressed view again rebuilds the same text.
        list->ToolbarClick(4);
        QCOMPARE(Shown(list), Expected(*w.s));
        // Reopened, it shows the view last chosen.
        m.ShowBetList();
        QVERIFY(m.FMlist && m.FMlist != list);
        QVERIFY(qobject_cast<zb::FMlist*>(m.FMlist.data())->toolButton(4)->isChecked());
        QVERIFY(w.sink.messages.empty());
    }

    void failureIsReportedAndTheWindowGoesOn() {
        DemoWorld w;
        zb::listdsp(*w.s);
        w.s->BetLog(0).assign(u"105011000399990119999990002");
        zb::FMlist list(*w.s);
        const QString before = Shown(&list);
        list.toolButton(4)->trigger();
        QCOMPARE(w.sink.messages.size(), std::size_t{1});
        QCOMPARE(w.sink.messages[0].title, std::string("listdsp  6"));
        QCOMPARE(Shown(&list), before);
    }

    void positionIsStoredWithItsDefault() {
        DemoWorld w;
        auto* list = new zb::FMlist(*w.s);
        QCOMPARE(list->pos(), QPoint(zb::TwipsToPxX(w.s->DefaultLeft(zb::kSlotBetList)),
                                     zb::TwipsToPxY(w.s->DefaultTop(zb::kSlotBetList))));
        list->show();
        list->move(100, 150);
        list->close();  // deletes itself
        QCOMPARE(w.s->settings.Top(zb::kSlotBetList), std::lround(zb::PxToTwipsY(150)));
        QCOMPARE(w.s->settings.Left(zb::kSlotBetList), std::lround(zb::PxToTwipsX(100)));
        list = new zb::FMlist(*w.s);
        list->show();
        list->move(801, 801);  // beyond the 800 x 800 screen
        list->close();
        QCOMPARE(w.s->settings.Top(zb::kSlotBetList), w.s->DefaultTop(zb::kSlotBetList));
        QCOMPARE(w.s->settings.Left(zb::kSlotBetList), w.s->DefaultLeft(zb::kSlotBetList));
    }

    void closingTheMainWindowStoresTheListPosition() {
        DemoWorld w;
        zb::FMmain m(*w.s);
        m.show();
        m.ShowBetList();
        m.FMlist->move(40, 60);
        m.close();
        QTRY_VERIFY(m.FMlist.isNull());
        const std::string ini = zb::SettingsPath(*w.s);
        QCOMPARE(zb::IniGet(ini, "WINDOW", "Top0"),
                 std::to_string(std::lround(zb::PxToTwipsY(60))));
        QCOMPARE(zb::IniGet(ini, "WINDOW", "Left0"),
                 std::to_string(std::lround(zb::PxToTwipsX(40))));
        QVERIFY(w.sink.messages.empty());
    }
};

QTEST_MAIN(FMlistTest)
#include "FMlist_test.moc"
