#include "windows/FmKei.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFrame>
#include <QHelpEvent>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QToolBar>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <climits>
#include <cmath>

#include "windows/event_handler.h"
#include "windows/modal_scope.h"
#include "windows/slot_position.h"
#include "windows/toolbar_pictures.h"
#include "windows/twips.h"
#include "windows/window_common.h"

namespace zb {

namespace {

const std::vector<ToolButtonDesign> kButtons = {
    {u"明細", u"過去の収支履歴", ToolbarPicture::kDays},
    {u"勝ち", u"ベスト１０", ToolbarPicture::kBestDays},
    {u"負け", u"ワースト１０", ToolbarPicture::kWorstDays},
    {u"推移", u"損益の累計の推移", ToolbarPicture::kProfitCurve},
    {u"年計", u"年と月の集計", ToolbarPicture::kPeriodTotals},
    {u"保存", u"明細をCSVファイルに保存", ToolbarPicture::kSave, true},
};
constexpr int kDaysView = 1, kChartView = 4, kTotalsView = 5, kSaveCommand = 6;

// Layout in twips: the toolbar, then Frame1 with the column heads, Picture1
// holding the ten rows and the scroll bar of pages beside it.
constexpr int kToolbarHeight = 360;
constexpr int kClientWidth = 4620;
constexpr int kFrameLeft = 60, kFrameTop = kToolbarHeight + 60, kFrameWidth = 4500,
              kFrameHeight = 2940;
constexpr int kClientHeight = kFrameTop + kFrameHeight + 60;
constexpr int kHeadTop = 90, kRowHeight = 240;
constexpr int kPictureLeft = 90, kPictureTop = 390, kPictureWidth = 4080,
              kPictureHeight = kPassbookRows * kRowHeight + 60;
constexpr int kScrollLeft = 4200, kScrollWidth = 255;

struct ColumnDesign {
    const char16_t* head;
    int left, width;
    Qt::Alignment align;
};
const ColumnDesign kColumns[4] = {
    {u"日付", 30, 1170, Qt::AlignHCenter},
    {u"投票", 1260, 900, Qt::AlignRight},
    {u"払戻", 2190, 900, Qt::AlignRight},
    {u"損益", 3120, 900, Qt::AlignRight},
};

const QColor kRed(255, 0, 0);  // the colour value 255

QString Q(const std::u16string& t) {
    return QString::fromStdU16String(t);
}

// 20261205 as "2026/12/05".
QString Slashed(const PassbookEntry& e) {
    const QString d = Q(e.date.str());
    return d.left(4) + u'/' + d.mid(4, 2) + u'/' + d.mid(6, 2);
}

// The file dialog of the system, in the PAT98 folder.
std::string DialogSaveFile(QWidget* parent, const std::string& suggested) {
    const ModalScope modal;
    return QFileDialog::getSaveFileName(parent, QString::fromStdU16String(u"明細の保存"),
                                        QString::fromStdString(suggested),
                                        QStringLiteral("CSV (*.csv)"))
        .toStdString();
}

}  // namespace

ProfitChart::ProfitChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Chart"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
}

void ProfitChart::setDays(std::vector<PassbookEntry> days) {
    days_ = std::move(days);
    running_ = RunningProfit(days_);
    low_ = high_ = 0;
    for (int64_t r : running_) {
        low_ = std::min(low_, r);
        high_ = std::max(high_, r);
    }
    Place();
    update();
}

// Room for the amounts at the left and the years at the bottom.
QRect ProfitChart::plot() const {
    const int side = fontMetrics().horizontalAdvance(QStringLiteral("-99,999,999")) + 6;
    const int bottom = fontMetrics().height() + 4;
    return QRect(side, 4, std::max(width() - side - 6, 1), std::max(height() - bottom - 8, 1));
}

void ProfitChart::Place() {
    const QRect r = plot();
    pointDays_ = ChartDays(days_.size(), r.width());
    points_.clear();
    const double span = static_cast<double>(high_ - low_);
    auto y = [&](int64_t v) {
        return span == 0 ? r.center().y()
                         : r.bottom() - (static_cast<double>(v - low_) / span) * r.height();
    };
    zeroY_ = y(0);
    const double n = static_cast<double>(std::max<std::size_t>(days_.size() - 1, 1));
    for (std::size_t d : pointDays_)
        points_.push_back(
            QPointF(r.left() + static_cast<double>(d) / n * r.width(), y(running_[d])));
}

void ProfitChart::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    Place();
}

void ProfitChart::paintEvent(QPaintEvent*) {
    QPainter g(this);
    const QRect r = plot();
    g.setPen(Qt::black);
    // The highest and lowest running profit and zero, each once.
    std::vector<int64_t> marks{0};
    if (high_ != 0) marks.push_back(high_);
    if (low_ != 0) marks.push_back(low_);
    for (int64_t v : marks) {
        const double y = v == 0 ? zeroY_ : v == high_ ? r.top() : r.bottom();
        const QRect box(0, static_cast<int>(y) - fontMetrics().height() / 2, r.left() - 4,
                        fontMetrics().height());
        g.setPen(v < 0 ? kRed : QColor(Qt::black));
        g.drawText(box, Qt::AlignRight | Qt::AlignVCenter, Q(Grouped(v)));
    }
    g.setPen(QColor(128, 128, 128));
    g.drawLine(QPointF(r.left(), zeroY_), QPointF(r.right(), zeroY_));
    g.drawLine(r.bottomLeft() + QPoint(0, 2), r.bottomRight() + QPoint(0, 2));
    // A mark and the year where each year begins; over many years only every
    // second, fifth, tenth... year, so that marks and labels stay apart.
    std::vector<std::pair<int, int>> starts;  // year, x
    int lastYear = -1;
    for (std::size_t i = 0; i < points_.size(); ++i) {
        const int y = Q(days_[pointDays_[i]].date.str()).left(4).toInt();
        if (y != lastYear) starts.emplace_back(y, static_cast<int>(points_[i].x()));
        lastYear = y;
    }
    const int room =
        std::max(r.width() / (fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 8), 1);
    int step = 1;
    for (int s : {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000}) {
        step = s;
        if (static_cast<int>(starts.size()) / s <= room) break;
    }
    g.setPen(Qt::black);
    int lastTextEnd = -1;
    // A point may stand for more than a year: a mark goes where the year
    // passes a multiple of the step.
    int lastMark = INT_MIN;
    for (const auto& [year, x] : starts) {
        const int mark = year / step * step;
        if (mark == lastMark || (step > 1 && lastMark == INT_MIN && year % step != 0)) {
            lastMark = mark;
            continue;
        }
        lastMark = mark;
        g.drawLine(x, r.bottom() + 2, x, r.bottom() + 5);
        const QString label = QString::number(mark);
        if (x > lastTextEnd && x + fontMetrics().horizontalAdvance(label) < width()) {
            g.drawText(QPoint(x + 2, height() - 4), label);
            lastTextEnd = x + 2 + fontMetrics().horizontalAdvance(label) + 4;
        }
    }
    if (points_.empty()) return;
    g.setRenderHint(QPainter::Antialiasing);
    const QPolygonF curve(QList<QPointF>(points_.begin(), points_.end()));
    // The same curve twice: dark above the zero line, red below it.
    g.setClipRect(QRectF(0, 0, width(), zeroY_));
    g.setPen(QPen(QColor(0, 0, 128), 1.2));
    points_.size() == 1 ? g.drawEllipse(points_[0], 1.5, 1.5) : g.drawPolyline(curve);
    g.setClipRect(QRectF(0, zeroY_, width(), height()));
    g.setPen(QPen(kRed, 1.2));
    points_.size() == 1 ? g.drawEllipse(points_[0], 1.5, 1.5) : g.drawPolyline(curve);
}

QString ProfitChart::tipAt(int x) const {
    if (points_.empty()) return {};
    std::size_t best = 0;
    for (std::size_t i = 1; i < points_.size(); ++i)
        if (std::abs(points_[i].x() - x) < std::abs(points_[best].x() - x)) best = i;
    const std::size_t d = pointDays_[best];
    return Slashed(days_[d]) + QString::fromStdU16String(u"  累計 ") + Q(Grouped(running_[d]));
}

bool ProfitChart::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        const QString tip = tipAt(help->pos().x());
        tip.isEmpty() ? QToolTip::hideText() : QToolTip::showText(help->globalPos(), tip, this);
        return true;
    }
    return QWidget::event(e);
}

FmKei::FmKei(AppState& state, QWidget* parent) : QWidget(parent, FixedDialogFrame()), s_(state) {
    setObjectName(QStringLiteral("FmKei"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromStdU16String(u"通帳"));
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    setFixedSize(TwipsToPxX(kClientWidth), TwipsToPxY(kClientHeight));

    toolbar_ = MakeGroupedToolbar(this, kToolbarHeight, kButtons, buttons_,
                                  [this](int i) { ToolbarClick(i); });
    // Six buttons share the window's width; each holds its picture and two
    // characters with room to spare.
    for (QAction* a : toolbar_->actions())
        toolbar_->widgetForAction(a)->setFixedWidth(width() / static_cast<int>(kButtons.size()));

    frame1_ = new QFrame(this);
    frame1_->setObjectName(QStringLiteral("Frame1"));
    frame1_->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame1_->setGeometry(TwipsRect(kFrameLeft, kFrameTop, kFrameWidth, kFrameHeight));

    for (int c = 0; c < 4; ++c) {
        const ColumnDesign& d = kColumns[c];
        auto* head = new QLabel(QString::fromStdU16String(d.head), frame1_);
        heads_[static_cast<std::size_t>(c)] = head;
        head->setObjectName(QStringLiteral("Label%1").arg(c + 1));
        head->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
        head->setGeometry(TwipsRect(kPictureLeft + d.left, kHeadTop, d.width, kRowHeight));
    }
    // Two lines, dark over light, make the groove under the heads.
    const char* lineNames[2] = {"Line1", "Line2"};
    const QColor lineColours[2] = {QColor(128, 128, 128), Qt::white};
    for (int i = 0; i < 2; ++i) {
        auto* line = new QFrame(frame1_);
        line->setObjectName(QString::fromLatin1(lineNames[i]));
        line->setGeometry(TwipsToPxX(kPictureLeft), TwipsToPxY(kPictureTop - 45) + i,
                          TwipsToPxX(kPictureWidth), 1);
        line->setAutoFillBackground(true);
        QPalette pal = line->palette();
        pal.setColor(QPalette::Window, lineColours[i]);
        line->setPalette(pal);
        lines_[static_cast<std::size_t>(i)] = line;
    }

    picture1_ = new QFrame(frame1_);
    picture1_->setObjectName(QStringLiteral("Picture1"));
    picture1_->setAutoFillBackground(true);
    picture1_->setGeometry(TwipsRect(kPictureLeft, kPictureTop, kPictureWidth, kPictureHeight));

    Column* columns[4] = {&lbDate_, &lbTohyo_, &lbHarai_, &lbSoneki_};
    const char* names[4] = {"LbDate", "LbTohyo", "LbHarai", "LbSoneki"};
    for (int c = 0; c < 4; ++c) {
        const ColumnDesign& d = kColumns[c];
        for (int r = 0; r < kPassbookRows; ++r) {
            auto* l = new QLabel(picture1_);
            l->setObjectName(QStringLiteral("%1%2").arg(QLatin1String(names[c])).arg(r));
            l->setAlignment(d.align | Qt::AlignVCenter);
            l->setGeometry(TwipsRect(d.left, 15 + r * kRowHeight, d.width, kRowHeight));
            (*columns[c])[static_cast<std::size_t>(r)] = l;
        }
    }

    // Over the rows: its tool tip shows the totals wherever the mouse rests.
    label5_ = new QLabel(frame1_);
    label5_->setObjectName(QStringLiteral("Label5"));
    label5_->setGeometry(picture1_->geometry());

    vScroll1_ = new QScrollBar(Qt::Vertical, frame1_);
    vScroll1_->setObjectName(QStringLiteral("VScroll1"));
    vScroll1_->setGeometry(TwipsRect(kScrollLeft, kPictureTop, kScrollWidth, kPictureHeight));
    vScroll1_->setPageStep(1);

    // The chart takes the heads' and rows' place.
    chart_ = new ProfitChart(frame1_);
    chart_->setGeometry(TwipsRect(kPictureLeft, kHeadTop, kScrollLeft + kScrollWidth - kPictureLeft,
                                  kPictureTop + kPictureHeight - kHeadTop));
    chart_->hide();
    pickSaveFile_ = DialogSaveFile;
    connect(vScroll1_, &QScrollBar::valueChanged, this,
            [this] { HandleEvent(s_, [&] { ShowPage(); }); });

    HandleEvent(s_, [&] { Load(); });
}

QAction* FmKei::toolButton(int index) const {
    if (index < 1 || index > kSaveCommand) return nullptr;
    return buttons_.at(static_cast<std::size_t>(index));
}

void FmKei::Load() {
    ApplyBorderLook(picture1_, s_.settings.Border3D, s_.settings.Border);
    QPalette pal = picture1_->palette();
    pal.setColor(QPalette::Window, Qt::white);
    picture1_->setPalette(pal);
    MoveToSlot(this, s_, kSlotPassbook);
    label5_->setVisible(true);
    buttons_[1]->setChecked(true);
    {
        // Page 0 is filled below, once.
        const QSignalBlocker quiet(vScroll1_);
        SetPages();
        vScroll1_->setValue(0);
    }
    ShowPage();
    label5_->setToolTip(QString::fromStdU16String(PassbookTotalsText(s_)));
}

void FmKei::SetPages() {
    const int32_t last = PassbookLastPage(s_);
    vScroll1_->setMaximum(last > 0 ? last : 0);
    vScroll1_->setEnabled(last != 0);
}

void FmKei::Fill(const PassbookRows& rows) {
    for (int r = 0; r < kPassbookRows; ++r) {
        const PassbookRow& row = rows[static_cast<std::size_t>(r)];
        lbDate(r)->setText(QString::fromStdU16String(row.date));
        lbTohyo(r)->setText(QString::fromStdU16String(row.stake));
        lbHarai(r)->setText(QString::fromStdU16String(row.payout));
        lbSoneki(r)->setText(QString::fromStdU16String(row.profit));
        // An empty row keeps its colour; it shows no text anyway.
        if (row.filled) {
            QPalette pal = lbSoneki(r)->palette();
            pal.setColor(QPalette::WindowText, row.negative ? kRed : QColor(Qt::black));
            lbSoneki(r)->setPalette(pal);
        }
    }
}

void FmKei::ShowPage() {
    if (view_ != kTotalsView) {
        Fill(PassbookPage(s_, vScroll1_->value()));
        return;
    }
    PassbookRows rows{};
    for (int r = 0; r < kPassbookRows; ++r) {
        const std::size_t k = static_cast<std::size_t>(vScroll1_->value()) * kPassbookRows +
                              static_cast<std::size_t>(r);
        if (k < totals_.size()) rows[static_cast<std::size_t>(r)] = TotalsRowOf(totals_[k]);
        lbDate(r)->setToolTip(k < totals_.size() ? Q(TotalsRowTip(totals_[k])) : QString());
    }
    Fill(rows);
}

// The rows and their heads, or the chart in their place.
void FmKei::ShowRows(bool rows) {
    for (QLabel* h : heads_) h->setVisible(rows);
    for (QFrame* l : lines_) l->setVisible(rows);
    picture1_->setVisible(rows);
    vScroll1_->setVisible(rows);
    chart_->setVisible(!rows);
}

void FmKei::ToolbarClick(int index) {
    HandleEvent(s_, [&] {
        if (index == kSaveCommand) {
            SaveCsv();
            return;
        }
        if (index < 1 || index > kTotalsView) return;
        const int from = view_;
        view_ = index;
        ShowRows(index != kChartView);
        heads_[0]->setText(Q(index == kTotalsView ? u"期間" : u"日付"));
        for (int r = 0; r < kPassbookRows; ++r) lbDate(r)->setToolTip(QString());
        const QSignalBlocker quiet(vScroll1_);
        switch (index) {
            case 1:
                label5_->setVisible(true);
                SetPages();
                if (from == kTotalsView) vScroll1_->setValue(dayPage_);
                ShowPage();
                break;
            case 2:
            case 3:
                label5_->setVisible(false);
                vScroll1_->setEnabled(false);
                Fill(index == 2 ? BestDayRows(s_) : WorstDayRows(s_));
                break;
            case kChartView:
                label5_->setVisible(false);
                chart_->setDays(HistoryDays(s_));
                break;
            case kTotalsView: {
                label5_->setVisible(false);
                if (from != kTotalsView) dayPage_ = vScroll1_->value();
                totals_ = PeriodTotals(HistoryDays(s_));
                const int last = static_cast<int>((totals_.size() - 1) / kPassbookRows);
                vScroll1_->setMaximum(last);
                vScroll1_->setEnabled(last != 0);
                vScroll1_->setValue(0);
                ShowPage();
                break;
            }
            default:
                break;
        }
    });
}

FmKei::Place FmKei::place() const {
    return {view_, vScroll1_->value()};
}

void FmKei::restore(Place p) {
    if (p.view < 1 || p.view > kTotalsView) return;
    buttons_[static_cast<std::size_t>(p.view)]->setChecked(true);
    ToolbarClick(p.view);
    vScroll1_->setValue(p.page);
}

void FmKei::SaveCsv() {
    // The view stays checked: saving is no view of its own.
    buttons_[static_cast<std::size_t>(view_)]->setChecked(true);
    std::string folder = s_.Pat98Folder;
    while (!folder.empty() && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
    const std::string path = pickSaveFile_(
        this, QDir(QString::fromStdString(folder)).filePath("Korvane.csv").toStdString());
    if (path.empty()) return;
    SavePassbookCsv(s_, path);
}

void FmKei::wheelEvent(QWheelEvent* e) {
    // The wheel over the rows turns the pages as over the scroll bar.
    if (vScroll1_->isEnabled() && !vScroll1_->isHidden())
        QCoreApplication::sendEvent(vScroll1_, e);
    else
        e->ignore();
}

void FmKei::closeEvent(QCloseEvent* e) {
    // The passbook slot has no default of its own: beyond the screen is 0.
    HandleEvent(s_, [&] { SaveSlotPosition(this, s_, kSlotPassbook); });
    e->accept();
}

}  // namespace zb
