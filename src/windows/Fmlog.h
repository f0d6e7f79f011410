#pragma once
// The race detail window: the user's bets on one race with their odds or
// payouts, the race's totals from the bank table and, before the race, its
// post time.

#include <QPointer>
#include <QWidget>
#include <array>

#include "accounting/race_detail.h"
#include "startup/app_state.h"

class QFrame;
class QLabel;
class QPlainTextEdit;

namespace zb {

class Fmlog : public QWidget {
    Q_OBJECT
  public:
    // Shows ReportText and the texts computed for the selected race.
    Fmlog(AppState& state, const DetailTexts& texts, QWidget* parent = nullptr);

    QPlainTextEdit* text1() const { return text1_; }
    QFrame* picture1() const { return picture1_; }
    QFrame* picture2() const { return picture2_; }
    QLabel* lbtohyo() const { return values_[0]; }
    QLabel* lbharai() const { return values_[1]; }
    QLabel* lbkei() const { return values_[2]; }
    QLabel* lbpar() const { return values_[3]; }
    QLabel* lbTime() const { return lbTime_; }
    QLabel* lbkai() const { return lbkai_; }

    // The results board opened with this window; it closes with it.
    QPointer<QWidget> FmVision;

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    AppState& s_;
    QPlainTextEdit* text1_ = nullptr;
    QFrame* picture1_ = nullptr;
    QFrame* picture2_ = nullptr;
    std::array<QLabel*, 4> values_{};
    QLabel* lbTime_ = nullptr;
    QLabel* lbkai_ = nullptr;
};

}  // namespace zb
