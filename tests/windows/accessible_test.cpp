// Screen readers on the real windows: after each refresh of a fixture day,
// first without a stake, then with a loss, every figure has its name and
// its value as said, read through Qt's accessibility interface.

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QTableWidget>
#include <QToolBar>
#include <QtTest>

#include "accounting/passbook.h"
#include "fixtures/loaded_day.h"
#include "startup/settings.h"
#include "windows/FMmain.h"
#include "windows/FmAnalysis.h"
#include "windows/FmKei.h"
#include "windows/fmbank.h"
#include "windows/qt_messages.h"

using zb::fixture::Bet;
using zb::fixture::RaceResult;

namespace {

// A Tokyo meeting; with a loss, 3000 yen lost in race 1 and 200 yen paying
// 900 in race 2.
zb::fixture::RaceDay Day(bool loss) {
    zb::fixture::RaceDay day("20261206");
    day.meeting(5, 5, 2);
    day.buy("20261206", loss ? std::vector<Bet>{Bet::Win(5, 1, 7, 30), Bet::Win(5, 2, 4, 2)}
                             : std::vector<Bet>{});
    for (int race = 1; loss && race <= 2; ++race) {
        const int w = race + 2;
        day.result(
            5, race,
            RaceResult().win(w, 450).place(w, 150).bracket(1, 2, 500).quinella(1, w, 900).wide(
                1, w, 300));
    }
    return day;
}

struct Says {
    const char *window, *child;  // a toolbar action stands for its button
    const char16_t *name, *value;
};

void Check(std::initializer_list<Says> table) {
    for (const Says& c : table) {
        QObject* o = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String(c.window) && w->isVisible())
                o = w->findChild<QObject*>(QLatin1String(c.child));
        if (auto* a = qobject_cast<QAction*>(o))
            o = qobject_cast<QToolBar*>(a->parent())->widgetForAction(a);
        QVERIFY2(o, c.child);
        QAccessibleInterface* i = QAccessible::queryAccessibleInterface(o);
        const QString name = i->text(QAccessible::Name), value = i->text(QAccessible::Value);
        QVERIFY2(name == QString::fromStdU16String(c.name) &&
                     value == QString::fromStdU16String(c.value),
                 qPrintable(QStringLiteral("%1 says %2: %3").arg(c.child, name, value)));
#ifndef Q_OS_WIN
        if (!value.isEmpty()) QCOMPARE(i->text(QAccessible::Description), value);
#endif
    }
}

}  // namespace

class AccessibleTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { zb::InstallFontSubstitutes(); }

    void everyFigureIsSaidAfterEachRefresh() {
        zb::fixture::LoadedDay d;
        zb::AppState& s = *d.s;
        s.AppFolder = d.tmp.path() + "/";
        zb::LoadSettings(s);
        s.ScreenHeight = s.ScreenWidth = 12000;
        zb::ComputeDefaultPositions(s);
        d.load(Day(false));
        zb::ReadPassbook(s);
        zb::FMmain m(s);
        m.show();
        m.RefreshAll();
        m.ShowBankChart();
        Check({{"FMmain", "label12", u"投票", u"0円"},
               {"FMmain", "label14", u"損益", u"0円"},
               {"FMmain", "label15", u"回収率", u"0パーセント"},
               {"fmbank", "soneki_0", u"東京 1R 損益", u"0円 未確定"}});

        // The loss is bought and settled: the same labels say the new figures.
        Day(true).write(d.dir);
        m.RefreshAll();
        m.ShowBankChart();
        qobject_cast<zb::fmbank*>(m.fmbank.data())->tohyo_Click(0);
        m.ShowPassbook();
        m.MenuAnalysis_Click();
        qobject_cast<zb::FmKei*>(m.FmKei.data())->ToolbarClick(4);  // the chart
        Check({{"FMmain", "label0", u"日付", u"2026年12月6日 日曜日"},
               {"FMmain", "label12", u"投票", u"3200円"},
               {"FMmain", "label14", u"損益", u"マイナス 2300円"},
               {"FMmain", "label15", u"回収率", u"28.1パーセント"},
               {"FMmain", "label16", u"残高", u"97700円"},
               {"FMmain", "Toolbar1_Button1", u"更新", u""},
               {"fmbank", "soneki_0", u"東京 1R 損益", u"マイナス 3000円"},
               {"fmbank", "tohyo_1", u"東京 2R 投票", u"200円"},
               {"fmbank", "sonekikei_0", u"東京 計 損益", u"マイナス 2300円"},
               {"Fmlog", "Lbkei", u"損益", u"マイナス 3000円"},
               {"FmVision", "LbKekka_3", u"馬連", u"1-3 900円"},
               {"FmKei", "LbSoneki0", u"2026年12月6日 損益", u"マイナス 2300円"},
               {"FmKei", "Toolbar1_Button2", u"勝ち", u""},
               {"FmKei", "Chart", u"損益の累計の推移",
                u"2026年12月6日から2026年12月6日まで 1日 累計 マイナス 2300円 最高 マイナス "
                u"2300円 最低 マイナス 2300円"}});
        // Table cells carry their figure as said in their name.
        auto* table = qobject_cast<zb::FmAnalysis*>(m.analysis_.data())->table();
        QAccessibleTableInterface* cells =
            QAccessible::queryAccessibleInterface(table)->tableInterface();
        QCOMPARE(cells->cellAt(0, 6)->text(QAccessible::Name), QStringLiteral("マイナス 2300円"));
        QCOMPARE(cells->cellAt(0, 7)->text(QAccessible::Name), QStringLiteral("28.1パーセント"));
    }
};

QTEST_MAIN(AccessibleTest)
#include "accessible_test.moc"
