// Screen readers on the real windows: after each refresh of a fixture day,
// first without a stake, then with a loss, every figure has its name and
// its value as said, read through Qt's accessibility interface.

#include <QAccessible>
#include <QLabel>
#include <QTableWidget>
#include <QToolBar>
#include <QtTest>
#include <functional>

#include "accounting/passbook.h"
#include "fixtures/loaded_day.h"
#include "startup/settings.h"
#include "windows/FMmain.h"
#include "windows/FmAnalysis.h"
#include "windows/FmKei.h"
#include "windows/FmVision.h"
#include "windows/Fmlog.h"
#include "windows/fmbank.h"
#include "windows/qt_messages.h"
#include "windows/save_png.h"

using zb::fixture::Bet;
using zb::fixture::RaceDay;
using zb::fixture::RaceResult;

namespace {

QString Q(const char16_t* t) {
    return QString::fromStdU16String(t);
}

QAccessibleInterface* Reader(QObject* w) {
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(w);
    if (!i) qFatal("no accessible interface");
    return i;
}

struct Says {
    const char* what;
    std::function<QObject*(zb::FMmain&)> widget;
    const char16_t* name;
    const char16_t* value;
};

template <typename W>
W* Open(QPointer<QWidget>& p) {
    return qobject_cast<W*>(p.data());
}

// A Tokyo meeting; with a loss, 3000 yen lost in race 1 and 200 yen paying
// 900 in race 2.
RaceDay Day(bool loss) {
    RaceDay day("20261206");
    day.meeting(5, 5, 2);
    day.buy("20261206", loss ? std::vector<Bet>{Bet::Win(5, 1, 7, 30), Bet::Win(5, 2, 4, 2)}
                             : std::vector<Bet>{});
    auto settled = [](int w) {
        return RaceResult().win(w, 450).place(w, 150).bracket(1, 2, 500).quinella(1, w, 900).wide(
            1, w, 300);
    };
    if (loss) day.result(5, 1, settled(3)).result(5, 2, settled(4));
    return day;
}

void Check(zb::FMmain& m, const std::vector<Says>& table) {
    for (const Says& c : table) {
        QAccessibleInterface* i = Reader(c.widget(m));
        const QString name = i->text(QAccessible::Name), value = i->text(QAccessible::Value);
        QVERIFY2(name == Q(c.name) && value == Q(c.value),
                 qPrintable(QStringLiteral("%1 says %2: %3").arg(c.what, name, value)));
    }
}

QObject* Label(zb::FMmain& m, int i) {
    return m.label(i);
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
        m.RefreshAll();
        m.ShowBankChart();
        auto bank = [](zb::FMmain& w) { return Open<zb::fmbank>(w.fmbank); };
        Check(m, {
                     {"stake", [](auto& w) { return Label(w, 12); }, u"投票", u"0円"},
                     {"profit", [](auto& w) { return Label(w, 14); }, u"損益", u"0円"},
                     {"rate", [](auto& w) { return Label(w, 15); }, u"回収率", u"0パーセント"},
                     {"race", [&](auto& w) { return bank(w)->soneki(0); }, u"東京 1R 損益",
                      u"0円 未確定"},
                 });

        // The loss is bought and settled: the same windows say the new figures.
        Day(true).write(d.dir);
        m.RefreshAll();
        m.ShowBankChart();
        bank(m)->tohyo_Click(0);
        m.ShowPassbook();
        m.MenuAnalysis_Click();
        auto book = [](zb::FMmain& w) { return Open<zb::FmKei>(w.FmKei); };
        auto cell = [](zb::FMmain& w, int c) {
            auto* t = qobject_cast<zb::FmAnalysis*>(w.analysis_.data())->table();
            return Reader(t)->tableInterface()->cellAt(0, c);
        };
        Check(m,
              {
                  {"date", [](auto& w) { return Label(w, 0); }, u"日付", u"2026年12月6日 日曜日"},
                  {"stake", [](auto& w) { return Label(w, 12); }, u"投票", u"3200円"},
                  {"payout", [](auto& w) { return Label(w, 13); }, u"払戻", u"900円"},
                  {"profit", [](auto& w) { return Label(w, 14); }, u"損益", u"マイナス 2300円"},
                  {"rate", [](auto& w) { return Label(w, 15); }, u"回収率", u"28.1パーセント"},
                  {"balance", [](auto& w) { return Label(w, 16); }, u"残高", u"97700円"},
                  {"refresh", [](auto& w) { return w.toolbar()->widgetForAction(w.toolButton(1)); },
                   u"更新", u""},
                  {"race 1", [&](auto& w) { return bank(w)->soneki(0); }, u"東京 1R 損益",
                   u"マイナス 3000円"},
                  {"race 2", [&](auto& w) { return bank(w)->tohyo(1); }, u"東京 2R 投票", u"200円"},
                  {"total", [&](auto& w) { return bank(w)->sonekikei(0); }, u"東京 計 損益",
                   u"マイナス 2300円"},
                  {"detail", [](auto& w) { return Open<zb::Fmlog>(w.Fmlog)->lbkei(); }, u"損益",
                   u"マイナス 3000円"},
                  {"board", [](auto& w) { return Open<zb::FmVision>(w.FmVision)->lbKekka(3); },
                   u"馬連", u"1-3 900円"},
                  {"book date", [&](auto& w) { return book(w)->lbDate(0); }, u"日付",
                   u"2026年12月6日"},
                  {"book profit", [&](auto& w) { return book(w)->lbSoneki(0); },
                   u"2026年12月6日 損益", u"マイナス 2300円"},
                  {"book days",
                   [&](auto& w) {
                       return book(w)->toolbar()->widgetForAction(book(w)->toolButton(1));
                   },
                   u"明細", u""},
              });
        // Table cells carry their figure as said in their name.
        QCOMPARE(cell(m, 6)->text(QAccessible::Name), Q(u"マイナス 2300円"));
        QCOMPARE(cell(m, 7)->text(QAccessible::Name), Q(u"28.1パーセント"));
        book(m)->ToolbarClick(4);
        QCOMPARE(Reader(book(m)->chart())->text(QAccessible::Value),
                 Q(u"2026年12月6日から2026年12月6日まで 1日 累計 マイナス 2300円 最高 "
                   u"マイナス 2300円 最低 マイナス 2300円"));
    }
};

QTEST_MAIN(AccessibleTest)
#include "accessible_test.moc"
