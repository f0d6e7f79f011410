#include "windows/FMmain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QShortcut>
#include <QSystemTrayIcon>
#include <QTime>
#include <QToolBar>
#include <QWindowStateChangeEvent>
#include <algorithm>
#include <cmath>
#include <new>

#include "accounting/bank.h"
#include "accounting/bet_list.h"
#include "accounting/day_figures.h"
#include "accounting/passbook.h"
#include "accounting/race_detail.h"
#include "program/startup.h"
#include "startup/settings.h"
#include "windows/FMlist.h"
#include "windows/FmAnalysis.h"
#include "windows/FmKei.h"
#include "windows/FmVer.h"
#include "windows/FmVision.h"
#include "windows/Fmlog.h"
#include "windows/accessible.h"
#include "windows/auto_notice.h"
#include "windows/event_handler.h"
#include "windows/fmbank.h"
#include "windows/folder_follower.h"
#include "windows/modal_scope.h"
#include "windows/slot_position.h"
#include "windows/toolbar_pictures.h"
#include "windows/twips.h"
#include "windows/window_common.h"
#include "windows/window_keys.h"

namespace zb {

namespace {

struct LabelDesign {
    int left, top, width;
    Qt::Alignment align;
    const char16_t* caption;
};

constexpr int kLabelHeight = 225;
constexpr int kPictureLeft = 15, kPictureWidth = 1845, kPictureHeight = 1470;
constexpr int kWindowWidth = 1965;
constexpr int kBottomMargin = 15;
constexpr int kCaptionButtonWidth = 450, kIconButtonWidth = 345;  // toolbar buttons

const Qt::Alignment kCentre = Qt::AlignHCenter | Qt::AlignTop;
const Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignTop;
const Qt::Alignment kRight = Qt::AlignRight | Qt::AlignTop;

const LabelDesign kLabels[kLabelCount] = {
    {30, 30, 1770, kCentre, u""},    {15, 225, 1800, kCentre, u""},
    {60, 450, 360, kLeft, u"投票"},  {60, 645, 360, kLeft, u"払戻"},
    {60, 840, 375, kLeft, u"損益"},  {60, 1035, 360, kLeft, u"回収"},
    {60, 1230, 375, kLeft, u"残高"}, {1560, 450, 195, kLeft, u"円"},
    {1560, 645, 195, kLeft, u"円"},  {1560, 840, 195, kLeft, u"円"},
    {1560, 1035, 195, kLeft, u"％"}, {1560, 1230, 195, kLeft, u"円"},
    {465, 435, 1080, kRight, u""},   {465, 630, 1080, kRight, u""},
    {465, 825, 1080, kRight, u""},   {465, 1020, 1080, kRight, u""},
    {465, 1215, 1080, kRight, u""},
};

// The panel shows fixed words, dates and figures. Where the window's font,
// or the one standing in for it, is installed and writes Japanese, it has
// every glyph of them: the panel then takes no fallback fonts, whose lists
// Qt builds per script from a full sort of the installed fonts.
QFont WithoutFallbacks(QFont f) {
    const QString family = f.family();
    for (const QString& name : QStringList{family} + QFont::substitutes(family)) {
        if (QFontDatabase::writingSystems(name).contains(QFontDatabase::Japanese)) {
            f.setStyleStrategy(QFont::NoFontMerging);
            break;
        }
    }
    return f;
}

const char16_t* const kToolTips[6] = {u"", u"更新", u"", u"収支表", u"投票履歴", u"通帳"};
const char16_t* const kCaptions[6] = {u"", u"更新", u"", u"収支", u"履歴", u"通帳"};

std::optional<int32_t> PlatformColorChooser(int32_t start, QWidget* parent) {
    const ModalScope modal;
    const QColor c = QColorDialog::getColor(ColorFromValue(start), parent);
    if (!c.isValid()) return std::nullopt;
    return ColorToValue(c);
}

}  // namespace

template <typename F>
void FMmain::Handle(F&& f) {
    HandleEvent(s_, std::forward<F>(f));
}

FMmain::FMmain(AppState& state, QWidget* parent)
    : QWidget(parent, FixedDialogFrame()), s_(state), chooseColor_(PlatformColorChooser) {
    setObjectName(QStringLiteral("FMmain"));
    setWindowTitle(QString::fromLatin1(kProductName));
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));

    toolbar_ = new QToolBar(this);
    toolbar_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setIconSize(QSize(16, 16));
    // The window is narrow: four captioned buttons only fit without the
    // style's spacing around them.
    toolbar_->setStyleSheet(
        QStringLiteral("QToolBar { border: 0px; padding: 0px; spacing: 0px; }"));
    const QIcon icons[6] = {QIcon(),
                            ToolbarIcon(ToolbarPicture::kRefresh),
                            QIcon(),
                            ToolbarIcon(ToolbarPicture::kBankChart),
                            ToolbarIcon(ToolbarPicture::kBetList),
                            ToolbarIcon(ToolbarPicture::kPassbook)};
    for (int i = 1; i <= 5; ++i) {
        QAction* a = i == 2 ? toolbar_->addSeparator() : toolbar_->addAction(icons[i], QString());
        a->setObjectName(QStringLiteral("Toolbar1_Button%1").arg(i));
        if (i != 2) a->setToolTip(Q(kToolTips[i]));
        // Without captions the buttons are pictures: a reader says the command.
        if (i != 2) toolbar_->widgetForAction(a)->setAccessibleName(Q(kToolTips[i]));
        buttons_[static_cast<std::size_t>(i)] = a;
    }
    connect(toolbar_, &QToolBar::actionTriggered, this, [this](QAction* a) {
        for (int i = 1; i <= 5; ++i)
            if (buttons_[static_cast<std::size_t>(i)] == a) ToolbarClick(i);
    });

    picture2_ = new QFrame(this);
    picture2_->setObjectName(QStringLiteral("Picture2"));
    picture2_->setAutoFillBackground(true);
    picture2_->installEventFilter(this);
    picture2_->setFont(WithoutFallbacks(font()));

    valueFont_ = QFont(QStringLiteral("ＭＳ Ｐゴシック"));
    valueFont_.setPointSizeF(9.75);
    valueFont_ = WithoutFallbacks(valueFont_);
    for (int i = 0; i < kLabelCount; ++i) {
        const LabelDesign& d = kLabels[i];
        auto* l = new QLabel(Q(d.caption), picture2_);
        l->setObjectName(QStringLiteral("label%1").arg(i));
        l->setAlignment(d.align);
        l->setAutoFillBackground(false);
        if (i >= 12) l->setFont(valueFont_);
        l->installEventFilter(this);
        labels_[static_cast<std::size_t>(i)] = l;
    }

    menuPop_ = new QMenu(this);
    menuPop_->setObjectName(QStringLiteral("MenuPop"));
    auto entry = [this](const char* name, const char16_t* text, void (FMmain::*cmd)()) {
        QAction* a = menuPop_->addAction(Q(text));
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, [this, cmd] { Handle([&] { (this->*cmd)(); }); });
        return a;
    };
    entry("MenuFColor", u"文字色の変更(&C)", &FMmain::MenuFColor_Click);
    entry("MenuBColor", u"背景色の変更(&B)", &FMmain::MenuBColor_Click);
    menuPop_->addSeparator();
    menuButtom_ = entry("MenuButtom", u"ボタンの文字列(&D)", &FMmain::MenuButtom_Click);
    menuButtom_->setCheckable(true);
    menuPop_->addSeparator();
    menuPos_ = entry("MenuPos", u"常に手前に表示(&W)", &FMmain::MenuPos_Click);
    menuPos_->setCheckable(true);
    menuPop_->addSeparator();
    menuAuto_ = entry("MenuAuto", u"自動更新", &FMmain::MenuAuto_Click);
    menuAuto_->setCheckable(true);
    menuHit_ = entry("MenuHit", u"的中通知", &FMmain::MenuHit_Click);
    menuHit_->setCheckable(true);
    entry("MenuAnalysis", u"収支分析", &FMmain::MenuAnalysis_Click);
    menuPop_->addSeparator();
    entry("MenuVer", u"ﾊﾞｰｼﾞｮﾝ(&V)", &FMmain::MenuVer_Click);
    menuPop_->addSeparator();
    entry("MenuMin", u"最小化(&N)", &FMmain::MenuMin_Click);
    entry("MenuEnd", u"終了(&X)", &FMmain::MenuEnd_Click);

    // F5 is a click on 更新, which a box of the program would block.
    connect(new QShortcut(QKeySequence(Qt::Key_F5), this), &QShortcut::activated, this, [this] {
        if (!ModalScope::Open()) ToolbarClick(1);
    });
    for (const QKeySequence& k :
         {QKeySequence(Qt::Key_Menu), QKeySequence(Qt::SHIFT | Qt::Key_F10)})
        connect(new QShortcut(k, this), &QShortcut::activated, this, [this] { PopupByKey(); });
    TabThroughToolbar(toolbar_);

    follower_ = new FolderFollower([this] { return AutoRefresh(); },
                                   [this] { return ModalScope::Open() || s_.LoadBusy == 1; }, this);
    follower_->setOnResult([this](const RefreshPolicy::Result& r) { ShowNotice(r); });
    Handle([&] { Load(); });
    ApplyHitNotice();
    menuAuto_->setChecked(s_.settings.AutoRefresh);
    if (s_.settings.AutoRefresh) {
        follower_->follow(s_.Pat98Folder);
        // A redirect takes effect with the first pass.
        follower_->nudge();
    }
}

QAction* FMmain::toolButton(int index) const {
    if (index < 1 || index > 5) return nullptr;
    return buttons_[static_cast<std::size_t>(index)];
}

QLabel* FMmain::label(int index) const {
    if (index < 0 || index >= kLabelCount) return nullptr;
    return labels_[static_cast<std::size_t>(index)];
}

void FMmain::Load() {
    // Title bar and frame. Before the window is shown there is no frame
    // yet, so this is often 0; the layout below only needs the client size.
    s_.MainFrameHeight = PxToTwipsY(frameGeometry().height() - height());
    ApplyToolbarCaptions();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    ApplyPanelAppearance();
    Relayout();
    MoveToSlot(this, s_, kSlotMain);
    ApplyLabelLook();
    ApplyStayOnTop();
    Data_Set();
}

void FMmain::ApplyToolbarCaptions() {
    const bool bar = s_.settings.Bar;
    for (int i : {1, 3, 4, 5})
        buttons_[static_cast<std::size_t>(i)]->setText(bar ? Q(kCaptions[i]) : QString());
    buttons_[2]->setVisible(!bar);
    toolbar_->setToolButtonStyle(bar ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
    const int buttonWidth = TwipsToPxX(bar ? kCaptionButtonWidth : kIconButtonWidth);
    for (int i : {1, 3, 4, 5})
        if (QWidget* b = toolbar_->widgetForAction(buttons_[static_cast<std::size_t>(i)]))
            b->setFixedWidth(buttonWidth);
    menuButtom_->setChecked(bar);
}

void FMmain::ApplyPanelAppearance() {
    const Settings& st = s_.settings;
    ApplyBorderLook(picture2_, st.Border3D, st.Border | st.Border3D);
    QPalette pal = picture2_->palette();
    pal.setColor(QPalette::Window, ColorFromValue(st.BackClor));
    picture2_->setPalette(pal);
    for (int i = 0; i < kLabelCount; ++i) FitLabel(i);
}

void FMmain::FitLabel(int index) {
    const auto k = static_cast<std::size_t>(index);
    QLabel* l = labels_[k];
    const LabelDesign& d = kLabels[k];
    // Labels sit in the panel's client area, inside its border.
    const QRect client = picture2_->contentsRect();
    QRect at(client.left() + TwipsToPxX(d.left), client.top() + TwipsToPxY(d.top),
             TwipsToPxX(d.width), TwipsToPxY(kLabelHeight));
    if (index > 1 && index < 12) {  // fixed captions
        l->setGeometry(at);
        return;
    }
    // The room beside the label: the date and status lines may span the
    // panel; a figure may reach to its caption's text, never over it.
    int left = client.left(), right = client.left() + client.width();
    if (d.align & Qt::AlignRight) {
        const QLabel* caption = labels_[k - 10];
        right = at.left() + at.width();
        left = caption->x() + caption->fontMetrics().horizontalAdvance(caption->text()) +
               TwipsToPxX(30);
    } else if (!(d.align & Qt::AlignHCenter)) {
        left = at.left();
        right = at.left() + at.width();
    }
    zb::FitLabel(l, at, left, right, index >= 12 ? valueFont_ : picture2_->font());
}

void FMmain::ApplyLabelLook() {
    valueFont_.setBold(s_.settings.Bold != 0);
    for (int i = 12; i < kLabelCount; ++i) FitLabel(i);
    for (int i = 0; i < kLabelCount; ++i) {
        QLabel* l = labels_[static_cast<std::size_t>(i)];
        QPalette pal = l->palette();
        pal.setColor(QPalette::WindowText, ColorFromValue(s_.settings.ForeClor(i)));
        l->setPalette(pal);
    }
}

void FMmain::ApplyStayOnTop() {
    const bool onTop = s_.settings.Pos != 0;
    if (onTop != windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
        const bool shown = isVisible();
        setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
        // Changing the flags hides a shown window; the platform call shows it again.
        if (shown) show();
    }
    menuPos_->setChecked(onTop);
}

QMargins FMmain::FrameMargins() const {
    const QRect outer = frameGeometry(), inner = geometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                    outer.right() - inner.right(), outer.bottom() - inner.bottom());
}

void FMmain::Relayout() {
    // Width and height are outer sizes: the frame is the window system's, the
    // client gets the rest. Until the window is shown there is no frame yet.
    const QMargins frame = FrameMargins();
    frameUsed_ = frame;
    const int toolbarHeight = toolbar_->sizeHint().height();
    const int clientWidth = TwipsToPxX(kWindowWidth) - frame.left() - frame.right();
    toolbar_->setGeometry(0, 0, clientWidth, toolbarHeight);
    picture2_->setGeometry(TwipsToPxX(kPictureLeft), toolbarHeight, TwipsToPxX(kPictureWidth),
                           TwipsToPxY(kPictureHeight));
    const int outerHeight = toolbarHeight + TwipsToPxY(s_.MainFrameHeight) + picture2_->height() +
                            TwipsToPxY(kBottomMargin);
    setFixedSize(clientWidth, outerHeight - frame.top() - frame.bottom());
}

void FMmain::FollowFrame() {
    // The window manager frames the window after it is shown: take its
    // height as MainFrameHeight then and fit the outer size again.
    if (isMinimized()) return;
    const QMargins frame = FrameMargins();
    if (frame == frameUsed_) return;
    s_.MainFrameHeight = PxToTwipsY(frame.top() + frame.bottom());
    Relayout();
}

void FMmain::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    FollowFrame();
}

void FMmain::moveEvent(QMoveEvent* e) {
    QWidget::moveEvent(e);
    FollowFrame();
}

void FMmain::Data_Set() {
    // Computed whole before anything is shown: an overflow leaves the old texts.
    const MainTexts t = ComputeMainTexts(s_);
    setWindowTitle(Q(t.caption));
    for (int i : {0, 1, 12, 13, 14, 15, 16}) {
        labels_[static_cast<std::size_t>(i)]->setText(Q(t.label[static_cast<std::size_t>(i)]));
        FitLabel(i);
    }
    labels_[12]->setToolTip(Q(t.stakeToolTip));
    for (int i : {0, 12, 13, 14, 15, 16})
        SetSpoken(labels_[static_cast<std::size_t>(i)], t.spoken[static_cast<std::size_t>(i)]);
    if (tray_) tray_->setToolTip(Q(u"残高 ") + labels_[16]->text() + Q(u"円"));
    PostIfSettled(s_);
    archive_.Pass(s_);
    if (auto* a = qobject_cast<zb::FmAnalysis*>(analysis_.data())) a->rebuild();
}

void FMmain::CloseSecondaryWindows(bool withRaceDetail) {
    // On refresh the race detail goes with the bank chart that owns it.
    for (QPointer<QWidget>* w : {&FMlist, &fmbank, &FmKei})
        if (*w) (*w)->close();
    if (withRaceDetail && Fmlog) Fmlog->close();
}

void FMmain::RefreshAll() {
    CloseSecondaryWindows(false);
    if (s_.LoadBusy == 1) return;
    // Whatever the readers leave is shown; their failures are reported inside.
    const bool ok = RefreshData(s_) && !s_.LastPassFailed;
    Data_Set();
    if (ok) TellHits();
    // A failed read leaves the follower's retry in place.
    if (ok && follower_->following()) follower_->passed(s_.Pat98Folder);
}

namespace {

// What an automatic pass would have shown, kept.
struct KeptMessages : MessageSink {
    std::vector<std::pair<std::string, std::string>> seen;
    void critical(const std::string& title, const std::string& text) override {
        seen.emplace_back(title, text);
    }
};

}  // namespace

RefreshPolicy::Outcome FMmain::AutoRefresh() {
    KeptMessages kept;
    MessageSink* shown = s_.Messages;
    s_.Messages = &kept;
    RefreshPolicy::Outcome out;
    Handle([&] {
        out.ok = RefreshData(s_) && !s_.LastPassFailed;
        // Posting and the windows' failures are kept too.
        if (out.ok) Data_Set();
        if (out.ok) TellHits();
        if (out.ok) ReopenInPlace();
    });
    s_.Messages = shown;
    out.messages = std::move(kept.seen);
    if (!out.ok) {
        // Most often PAT98 is half-way through writing: the window keeps the
        // figures of the last good pass and says so in a tool tip.
        labels_[1]->setToolTip(Q(u"自動更新: 読み込みに失敗しました（") +
                               QTime::currentTime().toString(QStringLiteral("HH:mm:ss")) +
                               Q(u"）。前回の内容を表示しています。"));
        return out;
    }
    // What a box would have said stays in the tool tip too.
    QString said;
    for (const auto& [title, text] : out.messages)
        said += (said.isEmpty() ? QString() : QStringLiteral("\n")) +
                QString::fromStdString(title + "\n" + text);
    labels_[1]->setToolTip(said);
    if (isMinimized()) setWindowTitle(Q(u"残高 ") + labels_[16]->text() + Q(u"円"));
    follower_->follow(s_.Pat98Folder);
    return out;
}

void FMmain::ShowNotice(const RefreshPolicy::Result& r) {
    if (!r.noticeChanged) return;
    if (!notice_ && r.notice.empty()) return;
    if (!notice_) notice_ = new AutoNotice(this);
    notice_->setNotice(r.notice);
}

void FMmain::ShowSecondary(QWidget* w) {
    if (reopening_) w->setAttribute(Qt::WA_ShowWithoutActivating);
    w->show();
}

void FMmain::ReopenInPlace() {
    reopening_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{reopening_};
    // Each window saves its place when it closes and opens at its slot again.
    if (auto* list = qobject_cast<zb::FMlist*>(FMlist.data())) {
        const int scroll = list->text1()->verticalScrollBar()->value();
        ShowBetList();
        if (auto* again = qobject_cast<zb::FMlist*>(FMlist.data()))
            again->text1()->verticalScrollBar()->setValue(scroll);
    }
    if (auto* book = qobject_cast<zb::FmKei*>(FmKei.data())) {
        const zb::FmKei::Place place = book->place();
        ShowPassbook();
        if (auto* again = qobject_cast<zb::FmKei*>(FmKei.data())) again->restore(place);
    }
    // The race detail goes with the bank chart: both again, the detail on
    // the race it showed.
    const bool detail = !Fmlog.isNull();
    if (fmbank) ShowBankChart();
    if (detail) ShowRaceDetail();
}

void FMmain::ShowBankChart() {
    if (fmbank) fmbank->close();
    // Computed whole first: a failure shows its message and no chart.
    const BankChart chart = bankdsp(s_);
    auto* w = new zb::fmbank(s_, chart, this);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->setHooks({[this] { ShowRaceDetail(); },
                 [this] {
                     if (Fmlog) Fmlog->close();
                 }});
    w->setWindowTitle(Q(u"収支 - ") + labels_[0]->text());
    fmbank = w;
    ShowSecondary(w);
}

void FMmain::ShowBetList() {
    if (FMlist) FMlist->close();
    listdsp(s_);
    auto* w = new zb::FMlist(s_);
    w->setWindowTitle(Q(u"履歴 - ") + labels_[0]->text());
    FMlist = w;
    ShowSecondary(w);
}

void FMmain::MenuAnalysis_Click() {
    if (analysis_) analysis_->close();
    // A child of the main window: it goes when the program ends.
    auto* w = new zb::FmAnalysis(s_, this);
    analysis_ = w;
    ShowSecondary(w);
}

void FMmain::ShowPassbook() {
    ReadPassbook(s_);
    if (FmKei) FmKei->close();
    auto* w = new zb::FmKei(s_);
    FmKei = w;
    ShowSecondary(w);
}

void FMmain::ShowRaceDetail() {
    Handle([&] {
        if (!DetailHasStake(s_)) return;
        if (Fmlog) Fmlog->close();
        if (FmVision) FmVision->close();
        RaceDetail(s_);
        const DetailTexts texts = ComputeDetailTexts(s_);
        const bool settled = DetailSettled(s_);
        const std::vector<BoardRow> rows = settled ? ResultsBoard(s_) : std::vector<BoardRow>{};
        auto* log = new zb::Fmlog(s_, texts, this);
        Fmlog = log;
        ShowSecondary(log);
        if (!settled) return;
        auto* board = new zb::FmVision(s_, log->lbkai()->text(), rows, this);
        FmVision = board;
        log->FmVision = board;
        ShowSecondary(board);
    });
}

void FMmain::ToolbarClick(int index) {
    Handle([&] {
        switch (index) {
            case 1:
                RefreshAll();
                break;
            case 3:
                ShowBankChart();
                break;
            case 4:
                ShowBetList();
                break;
            case 5:
                ShowPassbook();
                break;
            default:
                break;
        }
    });
}

void FMmain::MenuFColor_Click() {
    const std::optional<int32_t> c = chooseColor_(s_.settings.ForeClor(0), this);
    if (!c) return;
    for (int i = 0; i < kLabelCount; ++i) s_.settings.ForeClor(i) = *c;
    ApplyLabelLook();
}

void FMmain::MenuBColor_Click() {
    const std::optional<int32_t> c = chooseColor_(s_.settings.BackClor, this);
    if (!c) return;
    s_.settings.BackClor = *c;
    ApplyPanelAppearance();
}

void FMmain::MenuButtom_Click() {
    s_.settings.Bar = !s_.settings.Bar;
    ApplyToolbarCaptions();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    Relayout();
}

void FMmain::MenuPos_Click() {
    s_.settings.Pos = s_.settings.Pos != 0 ? int16_t{0} : int16_t{1};
    ApplyStayOnTop();
}

void FMmain::MenuAuto_Click() {
    s_.settings.AutoRefresh = !s_.settings.AutoRefresh;
    menuAuto_->setChecked(s_.settings.AutoRefresh);
    if (s_.settings.AutoRefresh) {
        follower_->follow(s_.Pat98Folder);
        follower_->nudge();
    } else {
        follower_->stop();
        if (notice_) notice_->hide();
        labels_[1]->setToolTip(QString());
    }
}

void FMmain::MenuHit_Click() {
    s_.settings.HitNotice = !s_.settings.HitNotice;
    ApplyHitNotice();
}

void FMmain::ApplyHitNotice() {
    menuHit_->setChecked(s_.settings.HitNotice);
    if (!s_.settings.HitNotice) {
        delete tray_;
        tray_ = nullptr;
        return;
    }
    // What is settled when the option comes on is no news.
    hitNews_.Know(s_);
    if (tray_ || !QSystemTrayIcon::isSystemTrayAvailable()) return;
    tray_ = new QSystemTrayIcon(windowIcon(), this);
    tray_->setObjectName(QStringLiteral("Tray"));
    tray_->setToolTip(Q(u"残高 ") + labels_[16]->text() + Q(u"円"));
    connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
        if (r == QSystemTrayIcon::Trigger || r == QSystemTrayIcon::DoubleClick) BringForward();
    });
    connect(tray_, &QSystemTrayIcon::messageClicked, this, [this] { BringForward(); });
    tray_->show();
}

void FMmain::TellHits() {
    if (!s_.settings.HitNotice) return;
    const std::u16string news = hitNews_.Tell(s_);
    if (news.empty()) return;
    hitNotices_ << Q(news);
    if (tray_) tray_->showMessage(QString::fromLatin1(kProductName), Q(news), windowIcon(), 15000);
}

void FMmain::BringForward() {
    if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void FMmain::MenuVer_Click() {
    FmVer ver(this);
    const ModalScope modal;
    ver.exec();
}

void FMmain::MenuMin_Click() {
    setWindowState(windowState() | Qt::WindowMinimized);
}

void FMmain::MenuEnd_Click() {
    close();
}

void FMmain::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() != QEvent::WindowStateChange) return;
    Handle([&] {
        if (isMinimized()) {
            // The taskbar button shows the balance.
            setWindowTitle(Q(u"残高 ") + labels_[16]->text() + Q(u"円"));
            CloseSecondaryWindows(true);
        } else {
            setWindowTitle(QStringLiteral("Zubrica98"));
        }
    });
}

void FMmain::Unload() {
    SaveSlotPosition(this, s_, kSlotMain);
    CloseSecondaryWindows(true);
    // Closed here, not with the others: a refresh rebuilds it in place.
    if (analysis_) analysis_->close();
    SaveSettings(s_);
}

void FMmain::closeEvent(QCloseEvent* e) {
    Handle([&] { Unload(); });
    e->accept();
}

void FMmain::PopupByKey() {
    // Windows also sends a context menu event for the same key.
    if (!menuPop_->isVisible()) menuPop_->popup(picture2_->mapToGlobal(QPoint(0, 0)));
}

void FMmain::contextMenuEvent(QContextMenuEvent* e) {
    // A right click opens the menu on its press (eventFilter).
    if (e->reason() != QContextMenuEvent::Keyboard) return QWidget::contextMenuEvent(e);
    PopupByKey();
}

bool FMmain::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseButtonPress) {
        auto* me = static_cast<QMouseEvent*>(e);
        if (me->button() == Qt::RightButton) {
            menuPop_->popup(me->globalPosition().toPoint());
            return true;
        }
    }
    return QWidget::eventFilter(watched, e);
}

}  // namespace zb
