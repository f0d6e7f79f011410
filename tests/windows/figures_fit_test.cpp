// The widest figures each window can be given show whole: each text's advance
// fits its label, inside the label's parent. Run at 100, 150 and 200 % (the
// offscreen screen at 96, 144 and 192 DPI); pictures named by the DPI.

#include <QAction>
#include <QLabel>
#include <QScrollBar>
#include <QtTest>
#include <climits>

#include "fixtures/loaded_day.h"
#include "startup/settings.h"
#include "windows/FMmain.h"
#include "windows/FmKei.h"
#include "windows/Fmlog.h"
#include "windows/fmbank.h"
#include "windows/save_png.h"
#include "windows/twips.h"

namespace {

void Look(QWidget* w, const std::string& name) {
    SavePng(
        w,
        QStringLiteral("fit_%1_%2.png").arg(QString::fromStdString(name)).arg(zb::LogicalDpiY()));
}

void ExpectFit(const std::vector<QLabel*>& labels) {
    for (const QLabel* l : labels) {
        const int need = l->fontMetrics().horizontalAdvance(l->text());
        QVERIFY2(
            need <= l->contentsRect().width() && l->parentWidget()->rect().contains(l->geometry()),
            qPrintable(l->objectName() + u' ' + l->text()));
    }
}

// `count` days from 1901 on, newest first as the store keeps them.
void Book(zb::AppState& s, int count, int32_t (*profit)(int)) {
    s.ScreenHeight = s.ScreenWidth = 12000;
    for (int i = count - 1; i >= 0; --i) {
        zb::PassbookEntry e;
        e.date.assign(zb::Ascii(
            std::to_string((1901 + i / 336) * 10000 + (1 + i / 28 % 12) * 100 + 1 + i % 28)));
        e.profit = profit(i);
        e.stake = e.profit < 0 ? -e.profit : 0;
        s.Passbook.push_back(e);
    }
    s.Passbook.push_back({});
    s.PassbookCount = count;
    for (int i = 0; i <= 10; ++i) s.BestDays(i) = s.WorstDays(i) = s.Passbook.at(std::size_t(i));
}

}  // namespace

class FiguresFitTest : public QObject {
    Q_OBJECT
  private slots:
    void mainBankAndRaceDetail() {
        zb::fixture::LoadedDay day;
        zb::AppState& s = *day.s;
        s.AppFolder = day.tmp.path() + "/";
        zb::LoadSettings(s);
        s.ScreenHeight = s.ScreenWidth = 12000;
        s.RaceDate.assign(u"20241014");
        s.StakeTotal = INT32_MAX;  // still open: nothing is posted
        s.OpenStake = s.TodayBetCount = 1;
        zb::FMmain m(s);
        m.show();
        m.Data_Set();
        ExpectFit({m.label(0), m.label(1), m.label(12), m.label(14), m.label(16)});
        Look(&m, "main");

        zb::BankChart chart;
        chart.panels = 3;
        for (zb::BankMeeting& b : chart.meeting) {
            b.tohyo.fill(b.maeuri = b.tohyokei = u"2147483647");
            b.soneki.fill(b.sonekikei = u"-2147483648");
            b.raceShown.fill(true);
        }
        zb::fmbank bank(s, chart);
        bank.show();
        std::vector<QLabel*> figures;
        for (int n = 0; n < zb::kBankPanels * zb::kBankRaces; ++n)
            figures.insert(figures.end(), {bank.tohyo(n), bank.soneki(n)});
        for (int i = 0; i < zb::kBankPanels; ++i)
            figures.insert(figures.end(), {bank.maeuri(i), bank.tohyokei(i), bank.sonekikei(i)});
        ExpectFit(figures);
        Look(&bank, "bank");

        zb::DetailTexts t;
        t.stake = t.payout = u"2147483647";
        t.profit = u"-2147483648";
        t.rate = u"214748364700";
        zb::Fmlog detail(s, t);
        detail.show();
        ExpectFit({detail.lbtohyo(), detail.lbharai(), detail.lbkei(), detail.lbpar()});
        Look(&detail, "detail");
    }

    // Every view of books of the widest days (12 000 of them sum to 13 digits
    // and a sign), of one extreme day among small ones, of a small high beside
    // zero; the chart's amounts hold their texts and never overlap.
    void passbook() {
        const struct {
            const char* name;
            int count;
            int32_t (*profit)(int);
        } cases[] = {
            {"huge", 12000, [](int) { return -99999999; }},
            {"extreme_day", 400,
             [](int i) { return i == 200 ? -99999999 : (i % 3 ? -2000 : 5000); }},
            {"near_zero", 30, [](int i) { return i == 0 ? 100 : (i == 1 ? -100 : -3000000); }},
        };
        for (const auto& c : cases) {
            zb::AppState s;
            Book(s, c.count, c.profit);
            zb::FmKei w(s);
            w.show();
            for (int view : {1, 2, 3, 5}) {
                w.toolButton(view)->trigger();
                w.vScroll1()->setValue(w.vScroll1()->maximum());
                for (int r = 0; r < zb::kPassbookRows; ++r)
                    ExpectFit({w.lbDate(r), w.lbTohyo(r), w.lbHarai(r), w.lbSoneki(r)});
            }
            if (c.count == 12000)
                QCOMPARE(w.lbDate(5)->text() + w.lbSoneki(5)->text(),
                         QString::fromStdU16String(u"計-1199999988000"));
            Look(&w, c.name);
            w.toolButton(4)->trigger();
            const auto& marks = w.chart()->marks();
            const QFontMetrics fm(w.chart()->labelFont(), w.chart());
            for (std::size_t i = 0; i < marks.size(); ++i) {
                QVERIFY2(fm.horizontalAdvance(marks[i].text) <= marks[i].box.width() &&
                             w.chart()->rect().contains(marks[i].box),
                         qPrintable(marks[i].text));
                for (std::size_t j = 0; j < i; ++j) QVERIFY(!marks[i].box.intersects(marks[j].box));
            }
            QVERIFY(marks.size() >= 2);
            Look(&w, c.name + std::string("_chart"));
        }
    }
};

QTEST_MAIN(FiguresFitTest)
#include "figures_fit_test.moc"
