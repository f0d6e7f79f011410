#pragma once
// The passbook window "通帳": ten days a page with a scroll bar of pages, the
// best and worst days, and the totals of all days as a tool tip; then the
// history: the running profit as a chart, the year and month totals, and the
// days saved as CSV.

#include <QWidget>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "accounting/passbook_history.h"
#include "accounting/passbook_view.h"
#include "startup/app_state.h"
#include "windows/passbook_chart.h"

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
    // A click on toolbar button 1 ("明細"), 2 ("勝ち"), 3 ("負け"), 4 ("推移"),
    // 5 ("年計") or 6 ("保存").
    void ToolbarClick(int index);
    // Asks where to save the CSV (a file dialog); empty when cancelled.
    using PickSaveFile = std::function<std::string(QWidget* parent, const std::string& suggested)>;
    void setPickSaveFile(PickSaveFile pick) { pickSaveFile_ = std::move(pick); }
    // The view and page shown, so that a window opened anew after a refresh
    // shows them again.
    struct Place {
        int view = 1;
        int page = 0;     // of the view: the totals' page in "年計", else the day page
        int dayPage = 0;  // the day view's page, kept while "年計" pages
    };
    Place place() const;
    void restore(Place p);

    QToolBar* toolbar() const { return toolbar_; }
    QAction* toolButton(int index) const;  // 1 to 6
    ProfitChart* chart() const { return chart_; }
    QLabel* head(int c) const {
        return c >= 0 && c < 4 ? heads_[static_cast<std::size_t>(c)] : nullptr;
    }
    QScrollBar* vScroll1() const { return vScroll1_; }
    QLabel* label5() const { return label5_; }
    QLabel* lbDate(int r) const { return row(lbDate_, r); }
    QLabel* lbTohyo(int r) const { return row(lbTohyo_, r); }
    QLabel* lbHarai(int r) const { return row(lbHarai_, r); }
    QLabel* lbSoneki(int r) const { return row(lbSoneki_, r); }
    // Column c (0 date, 1 stake, 2 payout, 3 profit) of row r.
    QLabel* cell(int c, int r) const;

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
    // The columns of the day list, or of the totals with wider amounts.
    void LayOut(bool totals);
    void ShowRows(bool rows);
    void SaveCsv();
    // The heads and the filled rows in view, tab-separated; empty for the chart.
    QString ShownRows() const;

    AppState& s_;
    QToolBar* toolbar_ = nullptr;
    std::vector<QAction*> buttons_;  // index 1 to 6
    QFrame* frame1_ = nullptr;
    QFrame* picture1_ = nullptr;
    QLabel* label5_ = nullptr;
    Column lbDate_{}, lbTohyo_{}, lbHarai_{}, lbSoneki_{};
    QScrollBar* vScroll1_ = nullptr;
    std::array<QLabel*, 4> heads_{};
    std::array<QFrame*, 2> lines_{};
    ProfitChart* chart_ = nullptr;
    int view_ = 1;     // the toolbar button of the view shown
    int dayPage_ = 0;  // the day view's page, whichever view is shown
    std::vector<PeriodTotal> totals_;
    PickSaveFile pickSaveFile_;
};

}  // namespace zb
