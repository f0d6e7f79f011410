#include "windows/fmbank.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>

#include "startup/messages.h"
#include "windows/accessible.h"
#include "windows/event_handler.h"
#include "windows/slot_position.h"
#include "windows/twips.h"
#include "windows/window_common.h"
#include "windows/window_keys.h"

namespace zb {

namespace {

// Design geometry, twips.
constexpr int kClientHeight = 3735;
constexpr int kPanelLeft = 60, kPanelTop = 60, kPanelPitch = 2035;
constexpr int kPanelWidth = 1995, kPanelHeight = 3585;
constexpr int kValueWidth = 825, kRowHeight = 225, kRowPitch = 210;
constexpr int kStakeLeft = 360, kProfitLeft = 1170;

const Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;
const Qt::Alignment kCentre = Qt::AlignHCenter | Qt::AlignVCenter;

QRect Twips(int left, int top, int width, int height) {
    return QRect(TwipsToPxX(left), TwipsToPxY(top), TwipsToPxX(width), TwipsToPxY(height));
}

QLabel* NewLabel(QWidget* panel, const QString& name, const QString& text, QRect at,
                 Qt::Alignment align) {
    auto* l = new QLabel(text, panel);
    l->setObjectName(name);
    l->setGeometry(at);
    l->setAlignment(align);
    return l;
}

// Border style, flat or sunken, and the white ground of a figure label. The
// border stays black whatever colour the figure takes.
void ValueLook(QLabel* l, const Settings& st) {
    QString border;
    if (st.Border != 0)
        border = st.Border3D != 0 ? QStringLiteral("border: 2px inset gray;")
                                  : QStringLiteral("border: 1px solid black;");
    l->setStyleSheet(QStringLiteral("QLabel { background: white; %1 }").arg(border));
}

void SetMark(QLabel* l, BankMark mark) {
    QPalette pal = l->palette();
    QColor c = QPalette().color(QPalette::WindowText);
    if (mark == BankMark::kRed) c = QColor::fromRgb(static_cast<QRgb>(kBankRed));
    if (mark == BankMark::kGrey) c = QColor::fromRgb(static_cast<QRgb>(kBankGrey));
    pal.setColor(QPalette::WindowText, c);
    l->setPalette(pal);
}

}  // namespace

template <typename F>
void fmbank::Handle(F&& f) {
    HandleEvent(s_, std::forward<F>(f));
}

fmbank::fmbank(AppState& state, const BankChart& chart, QWidget* parent)
    : QWidget(parent, FixedDialogFrame()), s_(state), meetings_(chart.panels) {
    setObjectName(QStringLiteral("fmbank"));
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    Build();
    Load(chart);
    SetTexts(chart);
    CloseOnEscape(this);
}

void fmbank::Build() {
    for (int i = 0; i < kBankPanels; ++i) {
        const auto p = static_cast<std::size_t>(i);
        auto* panel = new QFrame(this);
        panel->setObjectName(QStringLiteral("Picture1_%1").arg(i));
        panel->setGeometry(
            Twips(kPanelLeft + kPanelPitch * i, kPanelTop, kPanelWidth, kPanelHeight));
        panel->hide();
        picture1_[p] = panel;
        kaisai_[p] = NewLabel(panel, QStringLiteral("kaisai_%1").arg(i), QString(),
                              Twips(360, 0, 1635, 275), kCentre);
        label5_[p] = NewLabel(panel, QStringLiteral("Label5_%1").arg(i), Q(u"投票"),
                              Twips(kStakeLeft, 345, kValueWidth, 180), kCentre);
        label6_[p] = NewLabel(panel, QStringLiteral("Label6_%1").arg(i), Q(u"損益"),
                              Twips(kProfitLeft, 345, kValueWidth, 180), kCentre);
        for (int j = 0; j < kBankRaces; ++j) {
            const int n = kBankRaces * i + j;
            const auto k = static_cast<std::size_t>(n);
            const int top = 525 + kRowPitch * j;
            label2_[k] =
                NewLabel(panel, QStringLiteral("Label2_%1").arg(n),
                         QStringLiteral("%1R").arg(j + 1), Twips(15, top + 30, 315, 225), kRight);
            tohyo_[k] = NewLabel(panel, QStringLiteral("tohyo_%1").arg(n), QString(),
                                 Twips(kStakeLeft, top, kValueWidth, kRowHeight), kRight);
            soneki_[k] = NewLabel(panel, QStringLiteral("soneki_%1").arg(n), QString(),
                                  Twips(kProfitLeft, top, kValueWidth, kRowHeight), kRight);
            tohyo_[k]->installEventFilter(this);
            soneki_[k]->installEventFilter(this);
        }
        lbzen_[p] = NewLabel(panel, QStringLiteral("Lbzen_%1").arg(i), Q(u"前日"),
                             Twips(15, 3075, 345, 225), kRight);
        maeuri_[p] = NewLabel(panel, QStringLiteral("maeuri_%1").arg(i), QString(),
                              Twips(kStakeLeft, 3045, kValueWidth, kRowHeight), kRight);
        maeuri_[p]->installEventFilter(this);
        tohyokei_[p] = NewLabel(panel, QStringLiteral("tohyokei_%1").arg(i), QString(),
                                Twips(kStakeLeft, 3360, kValueWidth, kRowHeight), kRight);
        sonekikei_[p] = NewLabel(panel, QStringLiteral("sonekikei_%1").arg(i), QString(),
                                 Twips(kProfitLeft, 3360, kValueWidth, kRowHeight), kRight);
    }
}

void fmbank::Load(const BankChart& chart) {
    FitWidth();
    MoveToSlot(this, s_, kSlotBankChart);  // its title bar is as wide as the chart
    const Settings& st = s_.settings;
    for (int i = 0; i < kBankPanels; ++i) {
        const auto p = static_cast<std::size_t>(i);
        const BankMeeting& m = chart.meeting[p];
        for (QLabel* l : {maeuri_[p], tohyokei_[p], sonekikei_[p], kaisai_[p]}) ValueLook(l, st);
        for (int j = 0; j < kBankRaces; ++j) {
            const auto k = static_cast<std::size_t>(kBankRaces * i + j);
            ValueLook(tohyo_[k], st);
            ValueLook(soneki_[k], st);
            if (m.stakeClickable[static_cast<std::size_t>(j)])
                tohyo_[k]->setCursor(Qt::PointingHandCursor);
            // Rows of races the programme does not run are not shown at all.
            const bool shown = i >= chart.panels || m.raceShown[static_cast<std::size_t>(j)];
            label2_[k]->setVisible(shown);
            tohyo_[k]->setVisible(shown);
            soneki_[k]->setVisible(shown);
        }
        if (m.tomorrowClickable) maeuri_[p]->setCursor(Qt::PointingHandCursor);
        const bool tomorrow = i >= chart.panels || m.tomorrowShown;
        lbzen_[p]->setVisible(tomorrow);
        maeuri_[p]->setVisible(tomorrow);
        picture1_[p]->setVisible(i < chart.panels);
    }
}

void fmbank::SetTexts(const BankChart& chart) {
    for (int i = 0; i < chart.panels; ++i) {
        const auto p = static_cast<std::size_t>(i);
        const BankMeeting& m = chart.meeting[p];
        kaisai_[p]->setText(Q(m.kaisai));
        for (int j = 0; j < kBankRaces; ++j) {
            const auto k = static_cast<std::size_t>(kBankRaces * i + j);
            const auto r = static_cast<std::size_t>(j);
            tohyo_[k]->setText(Q(m.tohyo[r]));
            soneki_[k]->setText(Q(m.soneki[r]));
            SetMark(soneki_[k], m.sonekiMark[r]);
            SetSpoken(tohyo_[k], m.tohyoSpoken[r]);
            SetSpoken(soneki_[k], m.sonekiSpoken[r]);
        }
        maeuri_[p]->setText(Q(m.maeuri));
        tohyokei_[p]->setText(Q(m.tohyokei));
        sonekikei_[p]->setText(Q(m.sonekikei));
        SetMark(sonekikei_[p], m.sonekikeiMark);
        SetSpoken(maeuri_[p], m.maeuriSpoken);
        SetSpoken(tohyokei_[p], m.tohyokeiSpoken);
        SetSpoken(sonekikei_[p], m.sonekikeiSpoken);
    }
    // A figure wider than its box makes all figures a size smaller alike.
    std::vector<QLabel*> figures;
    for (std::size_t k = 0; k < tohyo_.size(); ++k) {
        figures.push_back(tohyo_[k]);
        figures.push_back(soneki_[k]);
    }
    for (std::size_t p = 0; p < maeuri_.size(); ++p)
        for (QLabel* l : {maeuri_[p], tohyokei_[p], sonekikei_[p]}) figures.push_back(l);
    // The stake and profit boxes touch: a figure keeps a little clear of the next.
    FitFont(figures, font(), TwipsToPxX(60));
}

void fmbank::FitWidth() {
    const int frame = frameGeometry().width() - geometry().width();
    setFixedSize(TwipsToPxX(BankChartWidth(meetings_)) - frame, TwipsToPxY(kClientHeight));
}

void fmbank::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    FitWidth();
}

void fmbank::moveEvent(QMoveEvent* e) {
    QWidget::moveEvent(e);
    // The window manager's frame is known only once the window is placed.
    FitWidth();
}

void fmbank::tohyo_Click(int n) {
    Handle([&] {
        if (SelectRace(s_, n) && hooks_.showRaceDetail) hooks_.showRaceDetail();
    });
}

void fmbank::maeuri_Click(int n) {
    Handle([&] {
        if (SelectTomorrow(s_, n) && hooks_.showRaceDetail) hooks_.showRaceDetail();
    });
}

void fmbank::Unload() {
    SaveSlotPosition(this, s_, kSlotBankChart);
    if (hooks_.closeRaceDetail) hooks_.closeRaceDetail();
}

void fmbank::closeEvent(QCloseEvent* e) {
    Handle([&] { Unload(); });
    e->accept();
}

bool fmbank::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseButtonRelease) {
        auto* me = static_cast<QMouseEvent*>(e);
        auto* l = qobject_cast<QLabel*>(watched);
        // A click: released over the label it was pressed on.
        if (l && me->button() == Qt::LeftButton && l->rect().contains(me->position().toPoint())) {
            for (int n = 0; n < kBankPanels * kBankRaces; ++n) {
                const auto k = static_cast<std::size_t>(n);
                if (l == tohyo_[k] || l == soneki_[k]) tohyo_Click(n);
            }
            for (int i = 0; i < kBankPanels; ++i)
                if (l == maeuri_[static_cast<std::size_t>(i)]) maeuri_Click(i);
        }
    }
    return QWidget::eventFilter(watched, e);
}

}  // namespace zb
