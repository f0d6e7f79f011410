#pragma once
// The passbook window "通帳": ten days a page with a scroll bar of pages, the
// best and worst days, and the totals of all days as a tool tip.

#include <QWidget>
#include <array>
#include <vector>

#include "accounting/passbook_view.h"
#include "startup/app_state.h"

class QAction;
class QFrame;
class QLabel;
class QScrollBar;
class QToolBar;

namespace zb {

class FmKei : public QWidget {
    Q_OBJECT
  public:
    // Shows the passbook as ReadPassbook last left it; never changes it.
    explicit FmKei(AppState& state, QWidget* parent = nullptr);

    // Fills the rows for the page the scroll bar shows.
    void ShowPage();
    // A click on toolbar button 1 ("明細"), 2 ("勝ち") or 3 ("負け").
    void ToolbarClick(int index);

    QToolBar* toolbar() const { return toolbar_; }
    QAction* toolButton(int index) const;  // 1 to 3
    QScrollBar* vScroll1() const { return vScroll1_; }
    QLabel* label5() const { return label5_; }
    QLabel* lbDate(int r) const { return row(lbDate_, r); }
    QLabel* lbTohyo(int r) const { return row(lbTohyo_, r); }
    QLabel* lbHarai(int r) const { return row(lbHarai_, r); }
    QLabel* lbSoneki(int r) const { return row(lbSoneki_, r); }

  protected:
    void closeEvent(QCloseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

  private:
    using Column = std::array<QLabel*, kPassbookRows>;
    static QLabel* row(const Column& c, int r) {
        return r >= 0 && r < kPassbookRows ? c[static_cast<std::size_t>(r)] : nullptr;
    }
    void Load();
    void SetPages();
    void Fill(const PassbookRows& rows);

    AppState& s_;
    QToolBar* toolbar_ = nullptr;
    std::vector<QAction*> buttons_;  // index 1 to 3
    QFrame* frame1_ = nullptr;
    QFrame* picture1_ = nullptr;
    QLabel* label5_ = nullptr;
    Column lbDate_{}, lbTohyo_{}, lbHarai_{}, lbSoneki_{};
    QScrollBar* vScroll1_ = nullptr;
};

}  // namespace zb
