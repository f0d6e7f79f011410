#include "windows/FmKei.h"

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QScrollBar>
#include <QToolBar>
#include <QWheelEvent>

#include "windows/event_handler.h"
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
};

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

}  // namespace

FmKei::FmKei(AppState& state, QWidget* parent) : QWidget(parent, FixedDialogFrame()), s_(state) {
    setObjectName(QStringLiteral("FmKei"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromStdU16String(u"通帳"));
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    setFixedSize(TwipsToPxX(kClientWidth), TwipsToPxY(kClientHeight));

    toolbar_ = MakeGroupedToolbar(this, kToolbarHeight, kButtons, buttons_,
                                  [this](int i) { ToolbarClick(i); });

    frame1_ = new QFrame(this);
    frame1_->setObjectName(QStringLiteral("Frame1"));
    frame1_->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame1_->setGeometry(TwipsRect(kFrameLeft, kFrameTop, kFrameWidth, kFrameHeight));

    for (int c = 0; c < 4; ++c) {
        const ColumnDesign& d = kColumns[c];
        auto* head = new QLabel(QString::fromStdU16String(d.head), frame1_);
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
    connect(vScroll1_, &QScrollBar::valueChanged, this,
            [this] { HandleEvent(s_, [&] { ShowPage(); }); });

    HandleEvent(s_, [&] { Load(); });
}

QAction* FmKei::toolButton(int index) const {
    if (index < 1 || index > 3) return nullptr;
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
    Fill(PassbookPage(s_, vScroll1_->value()));
}

void FmKei::ToolbarClick(int index) {
    HandleEvent(s_, [&] {
        switch (index) {
            case 1:
                label5_->setVisible(true);
                SetPages();
                ShowPage();
                break;
            case 2:
            case 3:
                label5_->setVisible(false);
                vScroll1_->setEnabled(false);
                Fill(index == 2 ? BestDayRows(s_) : WorstDayRows(s_));
                break;
            default:
                break;
        }
    });
}

void FmKei::wheelEvent(QWheelEvent* e) {
    // The wheel over the rows turns the pages as over the scroll bar.
    if (vScroll1_->isEnabled())
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
