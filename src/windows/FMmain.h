#pragma once
// The main balance window: date, status line and the five figures of the day,
// a toolbar of four commands and a popup menu for its appearance.

#include <QFont>
#include <QMargins>
#include <QPointer>
#include <QWidget>
#include <array>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "accounting/hit_news.h"
#include "archive/archive.h"
#include "startup/app_state.h"
#include "windows/refresh_policy.h"

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QSystemTrayIcon;
class QToolBar;

namespace zb {

class AutoNotice;
class FolderFollower;

class FMmain : public QWidget {
    Q_OBJECT
  public:
    // Asks the user for a colour (0x00BBGGRR), starting at the given one;
    // nullopt when the user cancels.
    using ColorChooser = std::function<std::optional<int32_t>(int32_t start, QWidget* parent)>;

    explicit FMmain(AppState& state, QWidget* parent = nullptr);

    // Writes the caption, the date, status and figure labels and the stake
    // tool tip from the state, then posts a settled day to the passbook.
    void Data_Set();

    // Toolbar commands.
    void RefreshAll();
    void ShowBankChart();
    void ShowBetList();
    void ShowPassbook();
    void MenuAnalysis_Click();
    // A click on a race of the bank chart (DetailVenue, DetailRace,
    // DetailTomorrow set): the race detail window, and for a settled race of
    // today the results board beside it; nothing for a race without stake.
    void ShowRaceDetail();
    // A click on toolbar button 1 to 5; the separator (2) does nothing.
    void ToolbarClick(int index);

    // Popup menu commands.
    void MenuFColor_Click();
    void MenuBColor_Click();
    void MenuButtom_Click();
    void MenuPos_Click();
    void MenuAuto_Click();
    void MenuHit_Click();
    void MenuVer_Click();
    void MenuMin_Click();
    void MenuEnd_Click();

    void setColorChooser(ColorChooser chooser) { chooseColor_ = std::move(chooser); }

    QToolBar* toolbar() const { return toolbar_; }
    QAction* toolButton(int index) const;  // 1 to 5
    QFrame* picture2() const { return picture2_; }
    QLabel* label(int index) const;  // 0 to 16
    QMenu* menuPop() const { return menuPop_; }
    FolderFollower* follower() const { return follower_; }
    // The tray icon of 的中通知; null while the option is off or the system
    // has no tray.
    QSystemTrayIcon* tray() const { return tray_; }
    // The hit notifications told so far, newest last (kept where there is no
    // tray to show them).
    const QStringList& hitNotices() const { return hitNotices_; }
    // The one notice of automatic passes; null until one was needed.
    AutoNotice* notice() const { return notice_; }

    // The pass the folder follower runs while 自動更新 is on: a manual
    // refresh's reading pass, with the open windows shown again in place
    // instead of closed. It shows no box: what it would have shown is
    // handed back, and the follower's policy decides what the notice says.
    RefreshPolicy::Outcome AutoRefresh();

  protected:
    void changeEvent(QEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    // Runs a handler; a run-time failure is reported instead of ending the program.
    template <typename F>
    void Handle(F&& f);

    void Load();
    void Unload();
    void ApplyToolbarCaptions();
    void ApplyPanelAppearance();
    void ApplyLabelLook();
    void ApplyStayOnTop();
    // A text wider than its label widens the label inside the panel, and only
    // then takes a smaller font; a text that fits keeps the design.
    void FitLabel(int index);
    void Relayout();
    QMargins FrameMargins() const;
    void FollowFrame();
    // Refresh, minimise and close shut the bet list, bank chart, race detail
    // and passbook windows; those windows register here when they are built.
    void CloseSecondaryWindows(bool withRaceDetail);
    // Builds the open secondary windows anew from the state, where they are,
    // with their view, page and scroll position.
    void ReopenInPlace();
    void ShowSecondary(QWidget* w);
    void ShowNotice(const RefreshPolicy::Result& r);
    // 的中通知 on or off: the tray icon, and what is settled now taken as known.
    void ApplyHitNotice();
    // After a good pass: the bets it found newly hit, and the day settled.
    void TellHits();
    void BringForward();
    // The menu key and Shift+F10: the popup menu at the panel.
    void PopupByKey();

    AppState& s_;
    QToolBar* toolbar_ = nullptr;
    std::array<QAction*, 6> buttons_{};  // index 1 to 5
    QFrame* picture2_ = nullptr;
    std::array<QLabel*, kLabelCount> labels_{};
    QFont valueFont_;  // labels 12 to 16 as designed, bold from the settings
    QMenu* menuPop_ = nullptr;
    QAction* menuButtom_ = nullptr;
    QAction* menuPos_ = nullptr;
    QAction* menuAuto_ = nullptr;
    QAction* menuHit_ = nullptr;
    QSystemTrayIcon* tray_ = nullptr;
    HitNews hitNews_;
    QStringList hitNotices_;
    FolderFollower* follower_ = nullptr;
    AutoNotice* notice_ = nullptr;
    BetArchive archive_;      // written after each posting
    bool reopening_ = false;  // windows shown again do not take the focus
    ColorChooser chooseColor_;
    QMargins frameUsed_;  // the frame the last layout was fitted to

  public:
    // The secondary windows now open, if any.
    QPointer<QWidget> FMlist, fmbank, Fmlog, FmKei;
    QPointer<QWidget> FmVision;  // closes with Fmlog
    QPointer<QWidget> analysis_;
};

}  // namespace zb
