#include "windows/FmVision.h"

#include <QCloseEvent>
#include <QLabel>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "windows/accessible.h"
#include "windows/event_handler.h"
#include "windows/look.h"
#include "windows/slot_position.h"
#include "windows/window_keys.h"

namespace zb {

namespace {

constexpr int kRowTwips = 240;

}  // namespace

FmVision::FmVision(AppState& state, const QString& detailTitle, const std::vector<BoardRow>& rows,
                   QWidget* parent)
    : QWidget(parent, FixedDialogFrame()), s_(state) {
    setObjectName(QStringLiteral("FmVision"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(TwipsToPxX(3630), TwipsToPxY(2265));

    picture1_ = new QFrame(this);
    picture1_->setObjectName(QStringLiteral("Picture1"));
    picture1_->setGeometry(TwipsRect(30, 60, 3570, 2160));
    ApplyBorderLook(picture1_, s_.settings);

    // The rows move inside the picture's border, never over it.
    auto* inside = new QWidget(picture1_);
    inside->setGeometry(picture1_->contentsRect());
    picture2_ = new QWidget(inside);
    picture2_->setObjectName(QStringLiteral("Picture2"));
    picture2_->setGeometry(TwipsRect(0, 0, 3570, 6030));

    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setPointSizeF(9.75);
    QFont bold = font;
    bold.setBold(true);
    for (int i = 0; i < kBoardRows; ++i) {
        auto make = [&](const char* name, int left, int width, const QFont& f) {
            auto* l = new QLabel(picture2_);
            l->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(i));
            l->setGeometry(TwipsRect(left, kRowTwips * i, width, kRowTwips));
            l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            l->setTextFormat(Qt::PlainText);
            l->setFont(f);
            return l;
        };
        titles_[static_cast<std::size_t>(i)] = make("LbTtl", 0, 1200, font);
        texts_[static_cast<std::size_t>(i)] = make("LbKekka", 1200, 2370, bold);
    }
    const int used = std::min<int>(static_cast<int>(rows.size()), kBoardRows);
    for (int i = 0; i < used; ++i) {
        const BoardRow& r = rows[static_cast<std::size_t>(i)];
        for (QLabel* l : {lbTtl(i), lbKekka(i)}) {
            SetBackColor(l, ColorFromValue(r.backColor));
            SetForeColor(l, ColorFromValue(r.foreColor));
        }
        lbTtl(i)->setText(QString::fromStdU16String(r.title));
        lbKekka(i)->setText(QString::fromStdU16String(r.text));
        SetSpoken(lbKekka(i), r.spoken);
    }
    // The results end at the scroll bar, which covers the rest of their row;
    // a longer text (many refunded horses) takes a smaller font.
    FitFont(std::vector<QLabel*>(titles_.begin(), titles_.end()), font);
    for (QLabel* l : texts_) {
        const QRect seen(l->pos(), QSize(TwipsToPxX(3360 - 1200 - 30), l->height()));
        FitLabel(l, seen, seen.left(), seen.right() + 1, bold);
    }

    vScroll1_ = new QScrollBar(Qt::Vertical, this);
    vScroll1_->setObjectName(QStringLiteral("VScroll1"));
    vScroll1_->setGeometry(TwipsRect(3360, 75, 225, 2130));
    vScroll1_->setMinimum(0);
    vScroll1_->setSingleStep(1);
    vScroll1_->setPageStep(1);
    vScroll1_->setMaximum(std::max(used - kBoardVisibleRows, 0));
    vScroll1_->setVisible(used > kBoardVisibleRows);
    vScroll1_->raise();
    // Whole rows up per step.
    connect(vScroll1_, &QScrollBar::valueChanged, this, [this](int v) {
        HandleEvent(s_,
                    [&] { picture2_->move(0, TwipsToPxY(-kRowTwips * static_cast<double>(v))); });
    });

    // A page key moves by the rows in view, Home and End to the first and last.
    PageWithKeys(this, vScroll1_, kBoardVisibleRows);
    CloseOnEscape(this);

    setWindowTitle(QString::fromStdU16String(u"競走成績 - ") + detailTitle);
    MoveToSlot(this, s_, kSlotResultsBoard);
}

void FmVision::wheelEvent(QWheelEvent* e) {
    // The wheel over the rows scrolls them as over the scroll bar.
    if (!vScroll1_->isHidden())
        QCoreApplication::sendEvent(vScroll1_, e);
    else
        e->ignore();
}

void FmVision::closeEvent(QCloseEvent* e) {
    HandleEvent(s_, [&] { SaveSlotPosition(this, s_, kSlotResultsBoard); });
    e->accept();
}

}  // namespace zb
