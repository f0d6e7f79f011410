// The main window offscreen: texts after Data_Set, caption rules, popup menu,
// toolbar captions, colours, and what closing writes to the settings file.

#include "windows/FMmain.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "accounting/passbook.h"
#include "fixtures/demo_day.h"
#include "fixtures/pat98_writer.h"
#include "program/startup.h"
#include "startup/ini.h"
#include "startup/settings.h"
#include "tools/report_run.h"
#include "windows/FmVer.h"
#include "windows/modal_scope.h"
#include "windows/qt_messages.h"
#include "windows/save_png.h"
#include "windows/twips.h"

using zb::AppState;
using zb::FMmain;

namespace {

struct RecordingSink : zb::MessageSink {
    std::vector<std::pair<std::string, std::string>> shown;
    void critical(const std::string& title, const std::string& text) override {
        shown.emplace_back(title, text);
    }
};

QString Q(const char16_t* t) {
    return QString::fromStdU16String(t);
}

// A state as start-up leaves it: settings from an empty folder, the screen
// of the offscreen platform, an empty passbook in a folder of its own.
struct World {
    zb::fixture::TempDir dir;
    RecordingSink sink;
    std::unique_ptr<AppState> s = std::make_unique<AppState>();

    World() {
        s->Messages = &sink;
        s->AppFolder = dir.path() + "/";
        s->HomeFolder = dir.path();
        s->Pat98Folder = dir.path();
        zb::LoadSettings(*s);
        s->ScreenHeight = 12000;
        s->ScreenWidth = 12000;
        zb::ComputeDefaultPositions(*s);
        s->settings.Top(zb::kSlotMain) = 1500;
        s->settings.Left(zb::kSlotMain) = 3000;
        s->RaceDate.assign(u"20010504");
        s->AccountBalance = 10000;
        zb::ReadPassbook(*s);
    }
    void day(int32_t stake, int32_t advance, int32_t payout, int32_t open, int16_t bets) {
        s->StakeTotal = stake;
        s->AdvanceStakeNet = advance;
        s->PayoutTotal = payout;
        s->OpenStake = open;
        s->TodayBetCount = bets;
    }
    std::string ini(const char* section, const char* key) const {
        return zb::IniGet(zb::SettingsPath(*s), section, key);
    }
};

QString Text(const FMmain& w, int i) {
    return w.label(i)->text();
}

QStringList MenuEntries(QMenu* m) {
    QStringList out;
    for (QAction* a : m->actions()) {
        if (a->isSeparator())
            out << QStringLiteral("-");
        else
            out << a->text() +
                       (a->isCheckable() && a->isChecked() ? QStringLiteral(" [x]") : QString());
    }
    return out;
}

// What keys change, where it applies: the active window (or the open menu),
// the control with the focus (a toolbar button as B and its number), the
// main window's day and captions option, the bet list's view, the page and
// first row's date, the lines copied (count, first|last; then cleared).
QString KeyState(FMmain& m, const AppState& s) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QWidget* a = QApplication::activePopupWidget();
    QWidget* w = QApplication::activeWindow();
    // The offscreen platform activates no window when another closes.
    w = w && w->isVisible() ? w : &m;
    if (!a) w->activateWindow();
    if (!a && !QTest::qWaitForWindowActive(w)) return QStringLiteral("not active");
    a = a ? a : w;
    const auto* b = qobject_cast<const QToolButton*>(a->focusWidget());
    const auto* bar = a->findChild<QScrollBar*>(QStringLiteral("VScroll1"));
    const auto* row = a->findChild<QLabel*>(QStringLiteral("LbDate0"));
    const QStringList copied = QGuiApplication::clipboard()->text().split(u'\n');
    QGuiApplication::clipboard()->clear();
    QStringList out = {a->objectName(), b ? "B" + b->defaultAction()->objectName().right(1)
                                        : a->focusWidget() ? a->focusWidget()->objectName()
                                                           : ""};
    if (a == &m || a == m.menuPop())
        out << Text(m, 0).section(u'月', 1).left(2) << QString::number(s.settings.Bar);
    if (a->objectName() == "FMlist") out << QString::number(s.ListView);
    if (bar && bar->isVisible()) out << QString::number(bar->value());
    if (row && row->isVisible()) out << row->text();
    if (copied.size() > 1)
        out << QString::number(copied.size() - 1) + ":" + copied[0] + "|" +
                   copied.value(copied.size() - 2);
    out.removeAll(QString());
    return out.join(u' ');
}

// "Key=state; Key=state; ...": types each key (as QKeySequence names it) to
// the open popup or the active window's focus, as the user would.
void TypeSteps(const QString& steps, const std::function<QString()>& state) {
    for (const QString& step : steps.split(u';')) {
        const QKeyCombination k = QKeySequence(step.section(u'=', 0, 0).trimmed())[0];
        QTest::keyClick(static_cast<QWidget*>(nullptr), k.key(), k.keyboardModifiers());
        QCOMPARE(state(), step.section(u'=', 1));
    }
}

// The program started in a PAT98 folder on a 12000-twip screen, or null.
std::unique_ptr<AppState> StartedIn(const std::string& dir, RecordingSink& sink) {
    auto s = std::make_unique<AppState>();
    s->Messages = &sink;
    if (!zb::Main(*s, zb::StartPlatform{dir, dir, 12000, 12000})) s.reset();
    return s;
}

QAction* MenuAction(FMmain& w, const char* name) {
    return w.menuPop()->findChild<QAction*>(QString::fromLatin1(name));
}

}  // namespace

class FMmainTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { zb::InstallFontSubstitutes(); }

    void layoutFollowsTheDesign() {
        World w;
        FMmain m(*w.s);
        QCOMPARE(m.objectName(), QStringLiteral("FMmain"));
        QVERIFY(m.findChild<QToolBar*>(QStringLiteral("Toolbar1")) == m.toolbar());
        QVERIFY(m.findChild<QFrame*>(QStringLiteral("Picture2")) == m.picture2());
        QCOMPARE(m.width(), zb::TwipsToPxX(1965));
        QVERIFY(!m.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!m.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        // On Windows the close box only shows with the system menu.
        QVERIFY(m.windowFlags().testFlags(Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint |
                                          Qt::MSWindowsFixedSizeDialogHint));
        QCOMPARE(m.minimumSize(), m.maximumSize());

        const QStringList tips = {Q(u"更新"), QString(), Q(u"収支表"), Q(u"投票履歴"), Q(u"通帳")};
        for (int i = 1; i <= 5; ++i) QCOMPARE(m.toolButton(i)->toolTip(), tips[i - 1]);
        QVERIFY(m.toolButton(2)->isSeparator());

        QCOMPARE(m.picture2()->geometry(), QRect(zb::TwipsToPxX(15), m.toolbar()->height(),
                                                 zb::TwipsToPxX(1845), zb::TwipsToPxY(1470)));
        QCOMPARE(m.height(), m.toolbar()->height() + zb::TwipsToPxY(1470) + zb::TwipsToPxY(15));

        const QStringList fixed = {Q(u"投票"), Q(u"払戻"), Q(u"損益"), Q(u"回収"), Q(u"残高"),
                                   Q(u"円"),   Q(u"円"),   Q(u"円"),   Q(u"％"),   Q(u"円")};
        for (int i = 2; i <= 11; ++i) QCOMPARE(Text(m, i), fixed[i - 2]);
        const int inset = m.picture2()->frameWidth();
        auto at = [&](int left, int top, int width) {
            return QRect(inset + zb::TwipsToPxX(left), inset + zb::TwipsToPxY(top),
                         zb::TwipsToPxX(width), zb::TwipsToPxY(225));
        };
        QCOMPARE(m.label(0)->geometry(), at(30, 30, 1770));
        QCOMPARE(m.label(1)->geometry(), at(15, 225, 1800));
        QCOMPARE(m.label(4)->geometry(), at(60, 840, 375));
        QCOMPARE(m.label(10)->geometry(), at(1560, 1035, 195));
        QCOMPARE(m.label(16)->geometry(), at(465, 1215, 1080));
        QCOMPARE(m.label(0)->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QCOMPARE(m.label(6)->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
        QCOMPARE(m.label(13)->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
        for (int i = 0; i < zb::kLabelCount; ++i) {
            QCOMPARE(m.label(i)->objectName(), QStringLiteral("label%1").arg(i));
            QVERIFY(!m.label(i)->autoFillBackground());
        }
        for (int i = 12; i <= 16; ++i) {
            QCOMPARE(m.label(i)->font().family(), Q(u"ＭＳ Ｐゴシック"));
            QCOMPARE(m.label(i)->font().pointSizeF(), 9.75);
            QVERIFY(m.label(i)->font().bold());
        }
        QVERIFY(!m.label(2)->font().bold());
        QCOMPARE(m.pos(), QPoint(zb::TwipsToPxX(3000), zb::TwipsToPxY(1500)));
        QVERIFY(w.sink.shown.empty());
    }

    void demoDayPicture() {
        // The README's picture of the window: scripts/readme-picture.sh
        // copies it to docs/main-window.png.
        zb::fixture::TempDir dir;
        zb::fixture::WriteDemoDay(dir.path());
        RecordingSink sink;
        auto s = StartedIn(dir.path(), sink);
        QVERIFY(s);
        FMmain m(*s);
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        QVERIFY(sink.shown.empty());
        QCOMPARE(Text(m, 0), Q(u"2026年12月6日 SUN"));
        QCOMPARE(Text(m, 1), Q(u"あと800円未確定"));
        QCOMPARE(Text(m, 16), QStringLiteral("72590"));
        SavePng(&m, QStringLiteral("main_demo_day.png"));
    }

    void noBetDay() {
        World w;
        w.day(0, 0, 0, 0, 0);
        FMmain m(*w.s);
        QCOMPARE(m.windowTitle(), QStringLiteral("Zubrica98"));
        QCOMPARE(Text(m, 0), Q(u"2001年5月4日 FRI"));
        QCOMPARE(Text(m, 1), Q(u"本日は未投票です"));
        QCOMPARE(Text(m, 12), QStringLiteral("0"));
        QCOMPARE(Text(m, 13), QStringLiteral("0"));
        QCOMPARE(Text(m, 14), QStringLiteral("0"));
        QCOMPARE(Text(m, 15), QStringLiteral("0"));
        QCOMPARE(Text(m, 16), QStringLiteral("10000"));
        QCOMPARE(m.label(12)->toolTip(), QString());
        // Nothing staked: nothing posted.
        QCOMPARE(w.s->Passbook.at(0).date.view(), std::u16string_view(u"00000000"));
    }

    void settledDayWithProfitIsPosted() {
        World w;
        FMmain m(*w.s);
        w.day(1000, 0, 1250, 0, 3);
        m.Data_Set();
        QCOMPARE(Text(m, 1), Q(u"全投票が確定しました"));
        QCOMPARE(Text(m, 12), QStringLiteral("1000"));
        QCOMPARE(Text(m, 13), QStringLiteral("1250"));
        QCOMPARE(Text(m, 14), QStringLiteral("+250"));
        QCOMPARE(Text(m, 15), QStringLiteral("125"));
        QCOMPARE(Text(m, 16), QStringLiteral("10250"));
        QCOMPARE(w.s->Passbook.at(0).date.view(), std::u16string_view(u"20010504"));
        QCOMPARE(w.s->Passbook.at(0).profit, 250);
        QVERIFY(QFile::exists(QString::fromStdString(w.dir.path() + "/Korvane.txt")));
    }

    void openStakeIsNotPosted() {
        World w;
        FMmain m(*w.s);
        w.day(1000, 0, 0, 300, 3);
        m.Data_Set();
        QCOMPARE(Text(m, 1), Q(u"あと300円未確定"));
        QCOMPARE(Text(m, 14), QStringLiteral("-1000"));
        QCOMPARE(w.s->Passbook.at(0).date.view(), std::u16string_view(u"00000000"));
    }

    void advancePurchasesOnly() {
        World w;
        FMmain m(*w.s);
        w.day(0, -1000, 1500, 0, 2);
        m.Data_Set();
        QCOMPARE(Text(m, 12), QStringLiteral("0"));
        QCOMPARE(Text(m, 15), QStringLiteral("0"));
        QCOMPARE(Text(m, 14), QStringLiteral("+500"));
        QCOMPARE(m.label(12)->toolTip(), Q(u"前売にて 1000円 投票済み"));
    }

    void stakeToolTipForms() {
        World w;
        FMmain m(*w.s);
        w.day(1000, 400, 300, 0, 2);
        m.Data_Set();
        QCOMPARE(m.label(12)->toolTip(), Q(u"当日：600円\u3000前日：400円"));
        QCOMPARE(Text(m, 14), QStringLiteral("-300"));
        w.day(1000, -500, 0, 0, 2);
        m.Data_Set();
        QCOMPARE(m.label(12)->toolTip(), Q(u"前売にて 500円 投票済み"));
        w.day(1000, 0, 0, 0, 2);
        m.Data_Set();
        QCOMPARE(m.label(12)->toolTip(), QString());
    }

    void returnRates() {
        World w;
        FMmain m(*w.s);
        w.day(1000, 0, 1000, 0, 1);
        m.Data_Set();
        QCOMPARE(Text(m, 15), QStringLiteral("100"));
        QCOMPARE(Text(m, 14), QStringLiteral("0"));
        w.day(3000, 0, 2000, 0, 1);
        m.Data_Set();
        QCOMPARE(Text(m, 15), QStringLiteral("66.6"));
    }

    void overflowingFigureIsReportedNotFatal() {
        World w;
        w.day(INT32_MAX, -1, 0, 0, 1);
        FMmain m(*w.s);
        QCOMPARE(w.sink.shown.size(), std::size_t{1});
        QVERIFY(QString::fromStdString(w.sink.shown[0].first).endsWith(QStringLiteral("  6")));
        // Nothing half-written: the figures keep their old (empty) texts.
        QCOMPARE(Text(m, 14), QString());
        // The window stays usable: a refresh of the (empty) folder shows figures again.
        w.sink.shown.clear();
        m.ToolbarClick(1);
        QVERIFY(w.sink.shown.empty());
        QCOMPARE(Text(m, 14), QStringLiteral("0"));
        QCOMPARE(Text(m, 1), Q(u"本日は未投票です"));
    }

    void minimiseAndRestoreSwitchTheCaption() {
        World w;
        w.day(1000, 0, 1250, 0, 1);
        FMmain m(*w.s);
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        QAction* min = MenuAction(m, "MenuMin");
        QVERIFY(min);
        min->trigger();
        QVERIFY(m.isMinimized());
        QCOMPARE(m.windowTitle(), Q(u"残高 10250円"));
        m.setWindowState(Qt::WindowNoState);
        QCOMPARE(m.windowTitle(), QStringLiteral("Zubrica98"));
    }

    void popupMenuEntries() {
        World w;
        FMmain m(*w.s);
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        QTest::mousePress(m.label(14), Qt::RightButton);
        QVERIFY(m.menuPop()->isVisible());
        QCOMPARE(m.menuPop()->objectName(), QStringLiteral("MenuPop"));
        const QStringList expected = {Q(u"文字色の変更(&C)"), Q(u"背景色の変更(&B)"),
                                      QStringLiteral("-"),    Q(u"ボタンの文字列(&D) [x]"),
                                      QStringLiteral("-"),    Q(u"常に手前に表示(&W)"),
                                      QStringLiteral("-"),    Q(u"自動更新"),
                                      Q(u"的中通知"),         Q(u"収支分析"),
                                      QStringLiteral("-"),    Q(u"ﾊﾞｰｼﾞｮﾝ(&V)"),
                                      QStringLiteral("-"),    Q(u"最小化(&N)"),
                                      Q(u"終了(&X)")};
        QCOMPARE(MenuEntries(m.menuPop()), expected);
        const char* names[] = {"MenuFColor", "MenuBColor",   "MenuButtom", "MenuPos", "MenuAuto",
                               "MenuHit",    "MenuAnalysis", "MenuVer",    "MenuMin", "MenuEnd"};
        for (const char* n : names) QVERIFY2(MenuAction(m, n), n);
        SavePng(m.menuPop(), "main_popup_menu.png");
        m.menuPop()->hide();

        // A left press shows nothing; a right press on the panel itself does.
        QTest::mousePress(m.label(3), Qt::LeftButton);
        QVERIFY(!m.menuPop()->isVisible());
        QTest::mousePress(m.picture2(), Qt::RightButton, {}, QPoint(2, 90));
        QVERIFY(m.menuPop()->isVisible());
        m.menuPop()->hide();

        MenuAction(m, "MenuButtom")->trigger();
        MenuAction(m, "MenuPos")->trigger();
        QVERIFY(!MenuAction(m, "MenuButtom")->isChecked());
        QVERIFY(MenuAction(m, "MenuPos")->isChecked());
        QVERIFY(m.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(m.isVisible());
        QCOMPARE(w.s->settings.Pos, int16_t{1});
        QCOMPARE(w.s->settings.Bar, false);
        MenuAction(m, "MenuPos")->trigger();
        QVERIFY(!MenuAction(m, "MenuPos")->isChecked());
        QVERIFY(!m.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(w.s->settings.Pos, int16_t{0});
    }

    void savedOptionsAreTickedAtLoad() {
        World w;
        w.s->settings.Bar = false;
        w.s->settings.Pos = 1;
        FMmain m(*w.s);
        QVERIFY(!MenuAction(m, "MenuButtom")->isChecked());
        QVERIFY(MenuAction(m, "MenuPos")->isChecked());
        QVERIFY(m.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(m.toolButton(2)->isVisible());
        for (int i : {1, 3, 4, 5}) QCOMPARE(m.toolButton(i)->text(), QString());
    }

    void toolbarCaptionsOffAndOnRestoreTheHeight() {
        World w;
        w.day(1000, 0, 1250, 0, 1);
        FMmain m(*w.s);
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        const QStringList captions = {Q(u"更新"), QString(), Q(u"収支"), Q(u"履歴"), Q(u"通帳")};
        for (int i : {1, 3, 4, 5}) QCOMPARE(m.toolButton(i)->text(), captions[i - 1]);
        QVERIFY(!m.toolButton(2)->isVisible());
        const int withCaptions = m.height();
        const int width = m.width();
        SavePng(&m, "main_captions_on.png");

        m.MenuButtom_Click();
        for (int i : {1, 3, 4, 5}) QCOMPARE(m.toolButton(i)->text(), QString());
        QVERIFY(m.toolButton(2)->isVisible());
        QCOMPARE(m.picture2()->y(), m.toolbar()->height());
        QCOMPARE(m.height(), m.toolbar()->height() + zb::TwipsToPxY(1470) + zb::TwipsToPxY(15));
        QVERIFY(m.height() < withCaptions);
        QCOMPARE(m.width(), width);
        SavePng(&m, "main_captions_off.png");

        m.MenuButtom_Click();
        for (int i : {1, 3, 4, 5}) QCOMPARE(m.toolButton(i)->text(), captions[i - 1]);
        QCOMPARE(m.height(), withCaptions);
        QCOMPARE(m.picture2()->y(), m.toolbar()->height());
        // Tool tips stay whatever the captions.
        QCOMPARE(m.toolButton(3)->toolTip(), Q(u"収支表"));
    }

    void panelFontHasEveryGlyph() {
        // The panel draws without fallback fonts where its font writes
        // Japanese: every character it shows must be in that font.
        World w;
        FMmain m(*w.s);
        const struct {
            int32_t stake, payout, open;
            int16_t bets;
        } days[] = {{0, 0, 0, 0}, {5000, 2700, 1200, 6}, {5000, 27000, 0, 6}};
        for (const auto& d : days) {
            w.day(d.stake, 0, d.payout, d.open, d.bets);
            m.Data_Set();
            for (int i = 0; i < zb::kLabelCount; ++i) {
                const QFontMetrics fm(m.label(i)->font());
                for (const char32_t c : Text(m, i).toUcs4())
                    QVERIFY2(fm.inFontUcs4(c), qPrintable(Text(m, i)));
            }
        }
    }

    // Every date of a leap year and 9-digit figures show whole: each text fits
    // its label, inside the panel and clear of its caption; looked at in PNGs.
    void everyDateAndNineDigitFiguresShowWhole() {
        World w;
        FMmain m(*w.s);
        m.show();
        const struct {
            int32_t balance, stake, payout;
        } figures[] = {{0, 999999999, 0}, {997852517, 1, 2147483}};
        for (const auto& f : figures) {
            w.s->AccountBalance = f.balance;
            w.day(f.stake, 0, f.payout, 999999999, 1);
            for (QDate d(2024, 1, 1); d.year() == 2024; d = d.addDays(1)) {
                w.s->RaceDate.assign(d.toString(QStringLiteral("yyyyMMdd")).toStdU16String());
                m.Data_Set();
                for (int i : {0, 1, 12, 13, 14, 15, 16}) {
                    QLabel* l = m.label(i);
                    QLabel* caption = m.label(i < 12 ? 0 : i - 10);
                    const int end =
                        caption->x() +
                        QFontMetrics(caption->font()).horizontalAdvance(caption->text());
                    QVERIFY2(QFontMetrics(l->font()).horizontalAdvance(l->text()) <= l->width() &&
                                 m.picture2()->contentsRect().contains(l->geometry()) &&
                                 (i < 12 || l->x() >= end),
                             qPrintable(l->text()));
                }
            }
            w.s->RaceDate.assign(u"20241014");  // the widest in IPA fonts
            m.Data_Set();
            SavePng(&m, QStringLiteral("main_widest_date_%1.png").arg(f.stake));
        }
        QCOMPARE(Text(m, 15) + Text(m, 16), QStringLiteral("214748300999999999"));
    }

    void negativeProfitPicture() {
        World w;
        w.s->RaceDate.assign(u"20010506");
        w.day(5000, 0, 2700, 0, 6);
        FMmain m(*w.s);
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        QCOMPARE(Text(m, 0), Q(u"2001年5月6日 SUN"));
        QCOMPARE(Text(m, 14), QStringLiteral("-2300"));
        QCOMPARE(Text(m, 15), QStringLiteral("54"));
        SavePng(&m, "main_negative_profit.png");

        w.day(5000, 0, 2700, 1200, 6);
        m.Data_Set();
        m.MenuButtom_Click();
        QTest::mousePress(m.label(1), Qt::RightButton);
        QVERIFY(m.menuPop()->isVisible());
        SavePng(m.menuPop(), "main_popup_menu_captions_off.png");
        m.menuPop()->hide();
        SavePng(&m, "main_open_stake_captions_off.png");
    }

    void colourCancelChangesNothing() {
        World w;
        w.s->settings.ForeClor(3) = 0x00FF00;
        FMmain m(*w.s);
        std::vector<int32_t> starts;
        m.setColorChooser([&](int32_t start, QWidget*) -> std::optional<int32_t> {
            starts.push_back(start);
            return std::nullopt;
        });
        const auto before = w.s->settings.ForeClor;
        const QColor label3 = m.label(3)->palette().color(QPalette::WindowText);
        const QColor back = m.picture2()->palette().color(QPalette::Window);
        MenuAction(m, "MenuFColor")->trigger();
        MenuAction(m, "MenuBColor")->trigger();
        QCOMPARE(starts, (std::vector<int32_t>{0, 16777215}));
        QVERIFY(w.s->settings.ForeClor.cell == before.cell);
        QCOMPARE(w.s->settings.BackClor, 16777215);
        QCOMPARE(m.label(3)->palette().color(QPalette::WindowText), label3);
        QCOMPARE(label3, QColor(0, 255, 0));
        QCOMPARE(m.picture2()->palette().color(QPalette::Window), back);
    }

    void chosenColoursReachEveryLabelAndTheFile() {
        World w;
        w.s->settings.ForeClor(0) = 0x123456;
        w.s->settings.ForeClor(9) = 0x00FF00;
        FMmain m(*w.s);
        QCOMPARE(m.label(0)->palette().color(QPalette::WindowText), QColor(0x56, 0x34, 0x12));
        std::vector<int32_t> starts;
        int32_t answer = 0x0000FF;  // red
        m.setColorChooser([&](int32_t start, QWidget*) -> std::optional<int32_t> {
            starts.push_back(start);
            return answer;
        });
        MenuAction(m, "MenuFColor")->trigger();
        QCOMPARE(starts.at(0), 0x123456);
        for (int i = 0; i < zb::kLabelCount; ++i) {
            QCOMPARE(m.label(i)->palette().color(QPalette::WindowText), QColor(255, 0, 0));
            QCOMPARE(w.s->settings.ForeClor(i), 0x0000FF);
        }
        answer = 0xC0FFFF;  // light yellow
        MenuAction(m, "MenuBColor")->trigger();
        QCOMPARE(starts.at(1), 16777215);
        QCOMPARE(w.s->settings.BackClor, 0xC0FFFF);
        QCOMPARE(m.picture2()->palette().color(QPalette::Window), QColor(0xFF, 0xFF, 0xC0));
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        SavePng(&m, "main_colours.png");
        m.close();
        for (int i = 0; i < zb::kLabelCount; ++i)
            QCOMPARE(w.ini("OPTION", ("ForeClor" + std::to_string(i)).c_str()), std::string("255"));
        QCOMPARE(w.ini("OPTION", "BackClor"), std::to_string(0xC0FFFF));
    }

    void closingWritesPositionAndOptions() {
        World w;
        FMmain m(*w.s);
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        m.move(100, 200);
        m.MenuButtom_Click();
        m.MenuPos_Click();
        m.MenuAnalysis_Click();
        m.analysis_->move(40, 60);
        m.MenuAnalysis_Click();  // opened anew where the last one was
        QCOMPARE(m.analysis_->pos(), QPoint(40, 60));
        m.analysis_->move(50, 70);  // saved when the main window closes
        MenuAction(m, "MenuEnd")->trigger();
        QVERIFY(!m.isVisible());
        QCOMPARE(w.ini("WINDOW", "Top5"), std::to_string(std::lround(zb::PxToTwipsY(200))));
        QCOMPARE(w.ini("WINDOW", "Left5"), std::to_string(std::lround(zb::PxToTwipsX(100))));
        QCOMPARE(w.ini("WINDOW", "Top6"), std::to_string(std::lround(zb::PxToTwipsY(70))));
        QCOMPARE(w.ini("WINDOW", "Left6"), std::to_string(std::lround(zb::PxToTwipsX(50))));
        QCOMPARE(w.ini("OPTION", "Bar"), std::string("0"));
        QCOMPARE(w.ini("OPTION", "Pos"), std::string("1"));
        QCOMPARE(w.ini("OPTION", "Border"), std::string("1"));
        QCOMPARE(w.ini("OPTION", "3D"), std::string("0"));
        QCOMPARE(w.ini("OPTION", "Bold"), std::string("1"));
        QCOMPARE(w.ini("OPTION", "BackClor"), std::string("16777215"));
        QVERIFY(w.sink.shown.empty());
    }

    void positionBeyondTheScreenFallsBackToTheDefault() {
        World w;
        w.s->ScreenWidth = static_cast<int32_t>(zb::PxToTwipsX(300));
        w.s->ScreenHeight = static_cast<int32_t>(zb::PxToTwipsY(300));
        zb::ComputeDefaultPositions(*w.s);
        FMmain m(*w.s);
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        // Partly off the bottom edge but its top on screen: kept.
        m.move(301, 290);
        m.close();
        QCOMPARE(w.s->settings.Left(zb::kSlotMain), w.s->DefaultLeft(zb::kSlotMain));
        QCOMPARE(w.s->settings.Top(zb::kSlotMain),
                 static_cast<int32_t>(std::lround(zb::PxToTwipsY(290))));
        QCOMPARE(w.ini("WINDOW", "Left5"), std::to_string(w.s->DefaultLeft(zb::kSlotMain)));

        FMmain again(*w.s);
        again.show();
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        again.move(10, 301);
        again.close();
        QCOMPARE(w.s->settings.Top(zb::kSlotMain), w.s->DefaultTop(zb::kSlotMain));
        QCOMPARE(w.s->settings.Left(zb::kSlotMain),
                 static_cast<int32_t>(std::lround(zb::PxToTwipsX(10))));
    }

    void refreshReadsTheFolderAgain() {
        World w;
        FMmain m(*w.s);
        QCOMPARE(Text(m, 0), Q(u"2001年5月4日 FRI"));
        zb::fixture::Pat98Dir pat(w.dir.path());
        zb::fixture::ProgrammeFile p;
        p.date = "20010505";
        p.amounts[0] = 20000;
        p.amounts[1] = 1500;
        pat.programme('A', p);
        m.toolButton(1)->trigger();
        QCOMPARE(Text(m, 0), Q(u"2001年5月5日 SAT"));
        QCOMPARE(Text(m, 16), QStringLiteral("18500"));
        QCOMPARE(Text(m, 1), Q(u"本日は未投票です"));

        // During a reading pass a refresh does nothing.
        p.date = "20010506";
        pat.programme('A', p);
        w.s->LoadBusy = 1;
        m.ToolbarClick(1);
        QCOMPARE(Text(m, 0), Q(u"2001年5月5日 SAT"));
        // The separator is no command.
        w.s->LoadBusy = 0;
        m.ToolbarClick(2);
        QCOMPARE(Text(m, 0), Q(u"2001年5月5日 SAT"));
    }

    void refreshAndMinimiseCloseTheSecondaryWindows() {
        World w;
        FMmain m(*w.s);
        m.show();
        QWidget list, bank, detail, book;
        for (QWidget* x : {&list, &bank, &detail, &book}) x->show();
        m.FMlist = &list;
        m.fmbank = &bank;
        m.Fmlog = &detail;
        m.FmKei = &book;
        w.s->LoadBusy = 1;  // closed even when the refresh itself is skipped
        m.ToolbarClick(1);
        QVERIFY(!list.isVisible() && !bank.isVisible() && !book.isVisible());
        QVERIFY(detail.isVisible());
        for (QWidget* x : {&list, &bank, &book}) x->show();
        m.MenuMin_Click();
        QVERIFY(!list.isVisible() && !bank.isVisible() && !detail.isVisible() && !book.isVisible());
    }

    // Every window of the demo day, keys typed in turn, each step with what
    // shows after it (KeyState). In the main window F5 refreshes, but not while
    // a box is open; the menu key and Shift+F10 open the menu, whose letters
    // choose. Tab walks the toolbars, Space and Enter press; Ctrl+C copies the
    // selection or the rows shown; the page keys page; Esc closes.
    void keys_data() {
        QTest::addColumn<int>("open");  // by hand: 1 a race, 2 its board, 3 収支分析, 4 ﾊﾞｰｼﾞｮﾝ
        QTest::addColumn<QString>("steps");
        auto row = [](const char* name, int open, const char16_t* steps) {
            QTest::newRow(name) << open << Q(steps);
        };
        row("FMmain", 0,
            u"F5=FMmain B1 4日 1; Menu=MenuPop 4日 1; Alt+D=FMmain B1 4日 0; Shift+F10=MenuPop 4日 "
            u"0; D=FMmain B1 4日 1; Tab=FMmain B3 4日 1; Shift+Tab=FMmain B1 4日 1; Tab=FMmain B3 "
            u"4日 1; Return=fmbank; Esc=FMmain B3 4日 1");
        row("FMlist", 0,
            u"Tab=FMmain B3 6日 1; Tab=FMmain B4 6日 1; Return=FMlist B1 1; Space=FMlist B1 0; "
            u"Tab=FMlist B2 0; Return=FMlist B2 1; Shift+Tab=FMlist B1 1; Shift+Tab=FMlist Text1 "
            u"1; Shift+Down=FMlist Text1 1; Ctrl+C=FMlist Text1 1 1:【受付けられたベット】  "
            u"871ベット投票可能|【受付けられたベット】  871ベット投票可能; Ctrl+A=FMlist Text1 1; "
            u"Tab=FMlist B1 1; Ctrl+C=FMlist B1 1 45:【受付けられたベット】  "
            u"871ベット投票可能|前売 阪神 11R  ワ  2- 8    200  ; Esc=FMmain B4 6日 1");
        row("FmKei", 0,
            u"Shift+Tab=FMmain B5 6日 1; Space=FmKei B1 0 2026/12/05; PgDown=FmKei B1 1 "
            u"2026/10/04; End=FmKei B1 19 2024/02/11; PgDown=FmKei B1 19 2024/02/11; "
            u"Ctrl+C=FmKei B1 19 2024/02/11 11:日付\t投票\t払戻\t損益|2024/01/06\t7000\t3710\t"
            u"-3290; PgUp=FmKei B1 18 2024/03/31; Home=FmKei B1 0 2026/12/05; Tab=FmKei B2 0 "
            u"2026/12/05; Space=FmKei B2 0 2024/01/13; End=FmKei B2 0 2024/01/13; Tab=FmKei B3 0 "
            u"2024/01/13; Tab=FmKei B4 0 2024/01/13; Return=FmKei B4; Ctrl+C=FmKei B4; "
            u"Esc=FMmain B5 6日 1");
        row("Fmlog", 1,
            u"Ctrl+A=Fmlog Text1; Ctrl+C=Fmlog Text1 1: 単  5       300  [   9.0]| 単  5  "
            u"     300  [   9.0]; Esc=FMmain B1 6日 1");
        row("FmVision", 2,
            u"PgDown=FmVision 1; PgUp=FmVision 0; End=FmVision 1; Home=FmVision 0; "
            u"Esc=FMmain B1 6日 1");
        row("FmAnalysis", 3,
            u"Ctrl+C=FmAnalysis Key 7:区分\t点数\t的中\t的中率\t投票\t払戻\t損益\t回収率|計\t"
            u"5123\t295\t5.7\t1511000\t1630570\t119570\t107.9; Esc=FMmain B1 6日 1");
        row("FmVer", 4, u"Esc=FMmain B1 6日 1");
    }
    void keys() {
        QFETCH(int, open);
        QFETCH(QString, steps);
        zb::fixture::TempDir dir;
        QCOMPARE(zb::test::RunProgram(ZB_DEMO_BINARY, {dir.path()}).status, 0);
        RecordingSink sink;
        auto s = StartedIn(dir.path(), sink);
        QVERIFY(s);
        FMmain m(*s);
        m.show();
        QVERIFY(QTest::qWaitForWindowActive(&m));
        if (open == 1 || open == 2) {
            m.ShowBankChart();
            s->DetailRace = open == 1 ? 11 : 4;  // Tokyo 12R, open; 5R, settled
            m.ShowRaceDetail();
        }
        if (open == 3) m.MenuAnalysis_Click();
        if (open == 4) (new zb::FmVer(&m))->show();
        QTRY_VERIFY(open == 0 || QApplication::activeWindow() != &m);
        auto state = [&] { return KeyState(m, *s); };
        state();  // the clipboard empty
        if (QTest::currentDataTag() == QStringLiteral("FMmain")) {
            zb::fixture::Pat98Dir(dir.path()).programme('A', zb::fixture::ProgrammeFile());
            const zb::ModalScope box;
            TypeSteps(QString::fromUtf8("F5=FMmain B1 6日 1"), state);
        }
        TypeSteps(steps, state);
        SavePng(QApplication::activeWindow(),
                QStringLiteral("keys_%1.png").arg(QTest::currentDataTag()));
    }

    void versionWindowIsModal() {
        World w;
        FMmain m(*w.s);
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* ver = qobject_cast<zb::FmVer*>(QApplication::activeModalWidget());
            seen = ver != nullptr && ver->isModal() && ver->parentWidget() == &m;
            if (ver) ver->command1()->click();
        });
        MenuAction(m, "MenuVer")->trigger();
        QVERIFY(seen);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QCOMPARE(m.windowTitle(), QStringLiteral("Zubrica98"));
    }
};

QTEST_MAIN(FMmainTest)
#include "FMmain_test.moc"
