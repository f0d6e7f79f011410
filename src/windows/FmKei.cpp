#include "windows/FmKei.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QScrollBar>
#include <QToolBar>
#include <QWheelEvent>
#include <algorithm>

#include "windows/accessible.h"
#include "windows/event_handler.h"
#include "windows/modal_scope.h"
#include "windows/slot_position.h"
#include "windows/toolbar_pictures.h"
#include "windows/twips.h"
#include "windows/window_common.h"
#include "windows/window_keys.h"

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
constexpr int kDaysView = 1, kBestView = 2, kWorstView = 3, kChartView = 4, kTotalsView = 5,
              kSaveCommand = 6;

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
// The totals of years run to 12 digits and more; a period is at most
// "2026-01": the amounts take room from the period column.
const ColumnDesign kTotalColumns[4] = {
    {u"期間", 30, 750, Qt::AlignHCenter},
    {u"投票", 810, 1050, Qt::AlignRight},
    {u"払戻", 1890, 1050, Qt::AlignRight},
    {u"損益", 2970, 1050, Qt::AlignRight},
};

const QColor kRed(255, 0, 0);  // the colour value 255

// The file dialog of the system, in the PAT98 folder.
std::string DialogSaveFile(QWidget* parent, const std::string& suggested) {
    const ModalScope modal;
    return QFileDialog::getSaveFileName(parent, QString::fromStdU16String(u"明細の保存"),
                                        QString::fromStdString(suggested),
                                        QStringLiteral("CSV (*.csv)"))
        .toStdString();
}

}  // namespace

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
    connect(vScroll1_, &QScrollBar::valueChanged, this, [this](int v) {
        if (view_ == kDaysView) dayPage_ = v;
        HandleEvent(s_, [&] { ShowPage(); });
    });

    TabThroughToolbar(toolbar_);
    CloseOnEscape(this);
    // The page keys turn the pages the scroll bar turns, a page a step.
    PageWithKeys(this, vScroll1_, 1);
    CopyOnCtrlC(this, [this] { return ShownRows(); });

    HandleEvent(s_, [&] { Load(); });
}

QString FmKei::ShownRows() const {
    if (picture1_->isHidden()) return {};  // the chart
    std::vector<QStringList> rows;
    for (int r = 0; r < kPassbookRows; ++r) {
        const QStringList cells = {lbDate(r)->text(), lbTohyo(r)->text(), lbHarai(r)->text(),
                                   lbSoneki(r)->text()};
        if (!cells.join(QString()).isEmpty()) rows.push_back(cells);
    }
    if (rows.empty()) return {};
    QStringList heads;
    for (const QLabel* h : heads_) heads << h->text();
    rows.insert(rows.begin(), heads);
    return TabSeparated(rows);
}

QAction* FmKei::toolButton(int index) const {
    if (index < 1 || index > kSaveCommand) return nullptr;
    return buttons_.at(static_cast<std::size_t>(index));
}

QLabel* FmKei::cell(int c, int r) const {
    const Column* columns[4] = {&lbDate_, &lbTohyo_, &lbHarai_, &lbSoneki_};
    return c >= 0 && c < 4 ? row(*columns[c], r) : nullptr;
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
    SetSpoken(label5_, {u"通帳の合計", PassbookTotalsSaid(s_)});
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
        for (int c = 0; c < 4; ++c) SetSpoken(cell(c, r), row.spoken[static_cast<std::size_t>(c)]);
        // An empty row keeps its colour; it shows no text anyway.
        if (row.filled) {
            QPalette pal = lbSoneki(r)->palette();
            pal.setColor(QPalette::WindowText, row.negative ? kRed : QColor(Qt::black));
            lbSoneki(r)->setPalette(pal);
        }
    }
    // A column too narrow for its widest text takes a smaller font; the
    // amounts all alike, so that a row reads evenly.
    FitFont(std::vector<QLabel*>(lbDate_.begin(), lbDate_.end()), font());
    std::vector<QLabel*> amounts;
    for (const Column* c : {&lbTohyo_, &lbHarai_, &lbSoneki_})
        amounts.insert(amounts.end(), c->begin(), c->end());
    FitFont(amounts, font(), TwipsToPxX(60));
}

void FmKei::LayOut(bool totals) {
    const ColumnDesign* columns = totals ? kTotalColumns : kColumns;
    const Column* rows[4] = {&lbDate_, &lbTohyo_, &lbHarai_, &lbSoneki_};
    for (std::size_t c = 0; c < 4; ++c) {
        const ColumnDesign& d = columns[c];
        heads_[c]->setText(Q(d.head));
        heads_[c]->setGeometry(TwipsRect(kPictureLeft + d.left, kHeadTop, d.width, kRowHeight));
        for (int r = 0; r < kPassbookRows; ++r)
            (*rows[c])[static_cast<std::size_t>(r)]->setGeometry(
                TwipsRect(d.left, 15 + r * kRowHeight, d.width, kRowHeight));
    }
}

void FmKei::ShowPage() {
    switch (view_) {
        case kDaysView:
            Fill(PassbookPage(s_, vScroll1_->value()));
            break;
        case kBestView:
        case kWorstView:
            Fill(view_ == kBestView ? BestDayRows(s_) : WorstDayRows(s_));
            break;
        case kTotalsView: {
            PassbookRows rows{};
            for (int r = 0; r < kPassbookRows; ++r) {
                const std::size_t k = static_cast<std::size_t>(vScroll1_->value()) * kPassbookRows +
                                      static_cast<std::size_t>(r);
                if (k < totals_.size()) rows[static_cast<std::size_t>(r)] = TotalsRowOf(totals_[k]);
                lbDate(r)->setToolTip(k < totals_.size() ? Q(TotalsRowTip(totals_[k])) : QString());
            }
            Fill(rows);
            break;
        }
        default:
            break;
    }
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
        view_ = index;
        ShowRows(index != kChartView);
        LayOut(index == kTotalsView);
        for (int r = 0; r < kPassbookRows; ++r) lbDate(r)->setToolTip(QString());
        label5_->setVisible(index == kDaysView);
        // The scroll bar holds the day page in every view but the totals, so
        // that "明細" comes back to it.
        const QSignalBlocker quiet(vScroll1_);
        if (index == kTotalsView) {
            totals_ = PeriodTotals(HistoryDays(s_));
            const int last = static_cast<int>((totals_.size() - 1) / kPassbookRows);
            vScroll1_->setMaximum(last);
            vScroll1_->setEnabled(last != 0);
            vScroll1_->setValue(0);
        } else {
            SetPages();
            vScroll1_->setValue(dayPage_);
            if (index != kDaysView) vScroll1_->setEnabled(false);
        }
        if (index == kChartView) chart_->setDays(HistoryDays(s_));
        ShowPage();
    });
}

FmKei::Place FmKei::place() const {
    return {view_, view_ == kTotalsView ? vScroll1_->value() : dayPage_, dayPage_};
}

void FmKei::restore(Place p) {
    if (p.view < 1 || p.view > kTotalsView) return;
    dayPage_ = std::clamp(p.view == kTotalsView ? p.dayPage : p.page, 0,
                          std::max(PassbookLastPage(s_), 0));
    buttons_[static_cast<std::size_t>(p.view)]->setChecked(true);
    ToolbarClick(p.view);
    if (p.view == kTotalsView) {
        const QSignalBlocker quiet(vScroll1_);
        vScroll1_->setValue(p.page);  // the scroll bar keeps it within its pages
        HandleEvent(s_, [&] { ShowPage(); });
    }
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
