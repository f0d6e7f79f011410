#include "windows/FMlist.h"

#include <QAction>
#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QToolBar>

#include "accounting/bet_list.h"
#include "windows/event_handler.h"
#include "windows/slot_position.h"
#include "windows/toolbar_pictures.h"
#include "windows/twips.h"
#include "windows/window_common.h"
#include "windows/window_keys.h"

namespace zb {

namespace {

const std::vector<ToolButtonDesign> kButtons = {
    {u"全履歴", u"ログに載っている全ベット", ToolbarPicture::kAllBets},
    {u"受付\u3000", u"正常に受け付けられたベット", ToolbarPicture::kAcceptedBets},
    {u"未確定", u"未確定のベット", ToolbarPicture::kUndecidedBets},
    {u"的中\u3000", u"的中しているベット", ToolbarPicture::kHitBets},
};

constexpr int kClientWidth = 4395, kClientHeight = 4965;
constexpr int kTextLeft = 30, kTextTop = 360, kTextWidth = 4335, kTextHeight = 4575;

}  // namespace

FMlist::FMlist(AppState& state, QWidget* parent) : QWidget(parent, FixedDialogFrame()), s_(state) {
    setObjectName(QStringLiteral("FMlist"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    setFixedSize(TwipsToPxX(kClientWidth), TwipsToPxY(kClientHeight));

    toolbar_ =
        MakeGroupedToolbar(this, kTextTop, kButtons, buttons_, [this](int i) { ToolbarClick(i); });

    text1_ = new QPlainTextEdit(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setReadOnly(true);
    QFont fixed(QStringLiteral("ＭＳ ゴシック"), 9);
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setFixedPitch(true);
    text1_->setFont(fixed);
    text1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text1_->setGeometry(TwipsRect(kTextLeft, kTextTop, kTextWidth, kTextHeight));

    TabThroughToolbar(toolbar_);
    CloseOnEscape(this);
    CopySelection(this, text1_);

    HandleEvent(s_, [&] { Load(); });
}

QAction* FMlist::toolButton(int index) const {
    if (index < 1 || index > 4) return nullptr;
    return buttons_.at(static_cast<std::size_t>(index));
}

void FMlist::Load() {
    ApplyBorderLook(text1_, s_.settings.Border3D, s_.settings.Border);
    // White behind the text only: the scroll bar keeps the application's
    // palette (see ApplyBorderLook in look.h).
    QPalette pal = text1_->viewport()->palette();
    pal.setColor(QPalette::Base, Qt::white);
    text1_->viewport()->setPalette(pal);
    MoveToSlot(this, s_, kSlotBetList);
    ShowReport();
    if (QAction* pressed = toolButton(s_.ListView + 1)) pressed->setChecked(true);
}

void FMlist::ShowReport() {
    text1_->setPlainText(QString::fromStdU16String(s_.ReportText));
}

void FMlist::ToolbarClick(int index) {
    HandleEvent(s_, [&] {
        if (index < 1 || index > 4) return;
        s_.ListView = static_cast<int16_t>(index - 1);
        listdsp(s_);
        ShowReport();
    });
}

void FMlist::closeEvent(QCloseEvent* e) {
    HandleEvent(s_, [&] { SaveSlotPosition(this, s_, kSlotBetList); });
    e->accept();
}

}  // namespace zb
