#pragma once
// The results board: the official payouts of one settled race, one coloured
// row per paid combination, and the refunded horses; 9 rows in view.

#include <QWidget>
#include <array>
#include <vector>

#include "accounting/race_detail.h"
#include "startup/app_state.h"

class QFrame;
class QLabel;
class QScrollBar;

namespace zb {

class FmVision : public QWidget {
    Q_OBJECT
  public:
    // detailTitle: the race detail window's Lbkai text.
    FmVision(AppState& state, const QString& detailTitle, const std::vector<BoardRow>& rows,
             QWidget* parent = nullptr);

    QFrame* picture1() const { return picture1_; }
    QWidget* picture2() const { return picture2_; }
    QLabel* lbTtl(int i) const { return titles_.at(static_cast<std::size_t>(i)); }
    QLabel* lbKekka(int i) const { return texts_.at(static_cast<std::size_t>(i)); }
    QScrollBar* vScroll1() const { return vScroll1_; }

  protected:
    void closeEvent(QCloseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

  private:
    AppState& s_;
    QFrame* picture1_ = nullptr;
    QWidget* picture2_ = nullptr;
    std::array<QLabel*, kBoardRows> titles_{};
    std::array<QLabel*, kBoardRows> texts_{};
    QScrollBar* vScroll1_ = nullptr;
};

}  // namespace zb
