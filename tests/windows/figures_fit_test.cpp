// The widest figures each window can be given show whole: every text's
// advance fits its label, inside the label's parent. Run at 100, 150 and
// 200 % (QT_FONT_DPI 96, 144, 192); pictures named by the DPI.

#include <QAction>
#include <QLabel>
#include <QScrollBar>
#include <QtTest>
#include <climits>
#include <memory>

#include "accounting/race_detail.h"
#include "fixtures/pat98_writer.h"
#include "fixtures/recording_sink.h"
#include "startup/settings.h"
#include "startup/startup.h"
#include "windows/FMmain.h"
#include "windows/FmKei.h"
#include "windows/FmVision.h"
#include "windows/Fmlog.h"
#include "windows/fmbank.h"
#include "windows/save_png.h"
#include "windows/twips.h"

using zb::AppState;
using zb::PassbookEntry;

namespace {

QString Png(const char* name) {
    return QStringLiteral("fit_%1_%2.png").arg(QLatin1String(name)).arg(zb::LogicalDpiY());
}

// Each label's text fits it, and the label its parent.
void ExpectFit(const std::vector<QLabel*>& labels, const char* where) {
    for (const QLabel* l : labels) {
        const int need = l->fontMetrics().horizontalAdvance(l->text());
        QVERIFY2(
            need <= l->contentsRect().width() && l->parentWidget()->rect().contains(l->geometry()),
            qPrintable(QStringLiteral("%1 %2 \"%3\" needs %4 of %5")
                           .arg(QLatin1String(where), l->objectName(), l->text())
                           .arg(need)
                           .arg(l->contentsRect().width())));
    }
}

PassbookEntry Entry(const std::string& date, int32_t stake, int32_t payout) {
    PassbookEntry e;
    e.date.assign(zb::Ascii(date));
    e.stake = stake;
    e.payout = payout;
    e.profit = payout - stake;
    return e;
}

// `count` days from 1901 on, each from f(i), newest first as the store keeps them.
template <typename F>
std::unique_ptr<AppState> Book(int count, F f) {
    auto s = std::make_unique<AppState>();
    s->ScreenHeight = s->ScreenWidth = 12000;
    for (int i = count - 1; i >= 0; --i) {
        const int y = 1901 + i / 336, m = 1 + i / 28 % 12, d = 1 + i % 28;
        s->Passbook.push_back(f(std::to_string(y * 10000 + m * 100 + d), i));
    }
    s->Passbook.push_back(Entry("00000000", 0, 0));
    s->PassbookCount = count;
    for (int i = 0; i <= 10; ++i)
        s->BestDays(i) = s->WorstDays(i) = s->Passbook.at(static_cast<std::size_t>(i));
    return s;
}

std::vector<QLabel*> Rows(const zb::FmKei& w) {
    std::vector<QLabel*> out;
    for (int r = 0; r < zb::kPassbookRows; ++r)
        out.insert(out.end(), {w.lbDate(r), w.lbTohyo(r), w.lbHarai(r), w.lbSoneki(r)});
    return out;
}

}  // namespace

class FiguresFitTest : public QObject {
    Q_OBJECT
  private slots:
    void mainWindow() {
        zb::fixture::TempDir dir;
        zb::fixture::RecordingSink sink;
        AppState s;
        s.Messages = &sink;
        s.AppFolder = dir.path() + "/";
        s.HomeFolder = s.Pat98Folder = dir.path();
        zb::LoadSettings(s);
        s.ScreenHeight = s.ScreenWidth = 12000;
        s.RaceDate.assign(u"20241014");
        // Still open, so nothing is posted.
        s.StakeTotal = INT32_MAX;
        s.AdvanceStakeNet = 0;
        s.AccountBalance = 0;
        s.PayoutTotal = 0;
        s.OpenStake = 1;
        s.TodayBetCount = 1;
        zb::FMmain m(s);
        m.show();
        m.Data_Set();
        std::vector<QLabel*> labels;
        for (int i : {0, 1, 12, 13, 14, 15, 16}) labels.push_back(m.label(i));
        ExpectFit(labels, "FMmain");
        SavePng(&m, Png("main"));
    }

    void bankChart() {
        AppState s;
        s.ScreenHeight = s.ScreenWidth = 12000;
        zb::BankChart chart;
        chart.panels = 3;
        for (zb::BankMeeting& m : chart.meeting) {
            m.kaisai = u"小倉 9回 12日";
            m.tohyo.fill(u"2147483647");
            m.soneki.fill(u"-2147483648");
            m.raceShown.fill(true);
            m.maeuri = m.tohyokei = u"2147483647";
            m.sonekikei = u"-2147483648";
        }
        zb::fmbank w(s, chart);
        w.show();
        std::vector<QLabel*> labels;
        for (int n = 0; n < zb::kBankPanels * zb::kBankRaces; ++n)
            labels.insert(labels.end(), {w.tohyo(n), w.soneki(n)});
        for (int i = 0; i < zb::kBankPanels; ++i)
            labels.insert(labels.end(), {w.kaisai(i), w.maeuri(i), w.tohyokei(i), w.sonekikei(i)});
        ExpectFit(labels, "fmbank");
        SavePng(&w, Png("bank"));
    }

    void raceDetailAndBoard() {
        AppState s;
        s.ScreenHeight = s.ScreenWidth = 12000;
        zb::DetailTexts t;
        t.title = u"小倉 9回 12日 12R";
        t.stake = t.payout = u"2147483647";
        t.profit = u"-2147483648";
        t.rate = u"214748364700";
        zb::Fmlog detail(s, t);
        detail.show();
        ExpectFit({detail.lbtohyo(), detail.lbharai(), detail.lbkei(), detail.lbpar()}, "Fmlog");
        SavePng(&detail, Png("detail"));
        std::vector<zb::BoardRow> rows(zb::kBoardRows, {u"　ワイド", u"18-18    999999"});
        rows.back() = {u"　返還　", u" 3 5 7 9 11 13 15 17"};
        zb::FmVision board(s, QString(), rows);
        board.show();
        std::vector<QLabel*> labels;
        for (int i = 0; i < zb::kBoardRows; ++i)
            labels.insert(labels.end(), {board.lbTtl(i), board.lbKekka(i)});
        ExpectFit(labels, "FmVision");
    }

    // Days of the widest amounts the passbook holds, in every view; the year
    // totals of 12 000 such days run to 13 digits and a sign.
    void passbookViews() {
        auto s = Book(12000, [](const std::string& date, int) { return Entry(date, 99999999, 0); });
        zb::FmKei w(*s);
        w.show();
        for (int view : {1, 2, 3, 5}) {
            w.toolButton(view)->trigger();
            if (view == 5) w.vScroll1()->setValue(w.vScroll1()->maximum());
            ExpectFit(Rows(w), "FmKei");
        }
        QCOMPARE(w.lbDate(5)->text(), QString::fromStdU16String(u"計"));
        QCOMPARE(w.lbTohyo(5)->text(), QStringLiteral("1199999988000"));
        QCOMPARE(w.lbSoneki(5)->text(), QStringLiteral("-1199999988000"));
        SavePng(&w, Png("passbook_totals"));
    }

    // The chart's amounts hold their texts and never overlap, with 13-digit
    // running sums, and with one extreme day among small ones.
    void chartLabels() {
        const struct {
            const char* name;
            int count;
            int32_t (*profit)(int);
        } cases[] = {
            {"chart_huge", 12000, [](int) { return -99999999; }},
            {"chart_extreme_day", 400,
             [](int i) { return i == 200 ? -100000000 : (i % 3 == 0 ? 5000 : -2000); }},
            {"chart_near_zero", 30, [](int i) { return i == 0   ? 100
                                                       : i == 1 ? -100
                                                                : -3000000; }},
        };
        for (const auto& c : cases) {
            auto s = Book(c.count, [&](const std::string& date, int i) {
                return Entry(date, 0, c.profit(i));
            });
            zb::FmKei w(*s);
            w.show();
            w.toolButton(4)->trigger();
            const zb::ProfitChart* chart = w.chart();
            const auto& marks = chart->marks();
            QVERIFY(marks.size() >= 2);
            for (std::size_t i = 0; i < marks.size(); ++i) {
                const int need =
                    QFontMetrics(chart->labelFont(), chart).horizontalAdvance(marks[i].text);
                QVERIFY2(need <= marks[i].box.width() && chart->rect().contains(marks[i].box),
                         qPrintable(marks[i].text));
                for (std::size_t j = 0; j < i; ++j)
                    QVERIFY2(!marks[i].box.intersects(marks[j].box), qPrintable(marks[i].text));
            }
            SavePng(&w, Png(c.name));
        }
    }
};

QTEST_MAIN(FiguresFitTest)
#include "figures_fit_test.moc"
