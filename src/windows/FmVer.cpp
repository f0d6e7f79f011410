#include "windows/FmVer.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "windows/accessible.h"
#include "windows/twips.h"
#include "windows/window_common.h"
#include "zb_version.h"

namespace zb {

FmVer::FmVer(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("FmVer"));
    setWindowTitle(QString::fromStdU16String(u"ﾊﾞｰｼﾞｮﾝ"));
    setModal(true);
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    setFixedSize(TwipsToPxX(2055), TwipsToPxY(1290));

    picture1_ = new QFrame(this);
    picture1_->setObjectName(QStringLiteral("Picture1"));
    picture1_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picture1_->setLineWidth(2);
    picture1_->setGeometry(TwipsRect(75, 105, 1905, 645));

    // The labels sit in the box's client area, inside its border.
    const int inset = picture1_->frameWidth();
    lbProc_ = new QLabel(picture1_);
    lbProc_->setObjectName(QStringLiteral("LbProc"));
    lbProc_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lbProc_->setGeometry(TwipsRect(30, 60, 1770, 255).translated(inset, inset));
    QFont bold(QStringLiteral("ＭＳ Ｐゴシック"), 9);
    bold.setBold(true);
    lbProc_->setFont(bold);

    lbVer_ = new QLabel(picture1_);
    lbVer_->setObjectName(QStringLiteral("LbVer"));
    lbVer_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lbVer_->setGeometry(TwipsRect(30, 330, 1770, 255).translated(inset, inset));

    command1_ = new QPushButton(QStringLiteral("OK"), this);
    command1_->setObjectName(QStringLiteral("Command1"));
    command1_->setGeometry(TwipsRect(420, 840, 1215, 375));
    command1_->setDefault(true);
    connect(command1_, &QPushButton::clicked, this, &QDialog::accept);

    lbProc_->setText(QStringLiteral("Zubrica98"));
    lbVer_->setText(QStringLiteral("Ver " ZB_VERSION));
    SetSpoken(lbVer_, {u"バージョン", u"" ZB_VERSION});
}

void FmVer::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->geometry();
    const QSize outer = frameGeometry().size();
    move(area.center() - QPoint(outer.width() / 2, outer.height() / 2));
}

}  // namespace zb
