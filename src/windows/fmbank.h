#pragma once
// The bank chart: per meeting of the day the stake and profit of each race,
// the stake on tomorrow's races and the totals, one panel per meeting. Every
// figure is a label whose text and colour bankdsp computed; a click on a
// race's figures opens that race's detail.

#include <QWidget>
#include <array>
#include <functional>

#include "accounting/bank.h"
#include "startup/app_state.h"

class QFrame;
class QLabel;

namespace zb {

class fmbank : public QWidget {
    Q_OBJECT
  public:
    // The race detail window belongs to the main window: the chart asks it to
    // open the selected race, and to close it when the chart closes.
    struct Hooks {
        std::function<void()> showRaceDetail;
        std::function<void()> closeRaceDetail;
    };

    fmbank(AppState& state, const BankChart& chart, QWidget* parent = nullptr);

    void setHooks(Hooks hooks) { hooks_ = std::move(hooks); }

    // Label n = 12 x meeting + race index; the others by meeting.
    void tohyo_Click(int n);  // the profit label shares the handling
    void maeuri_Click(int n);

    QFrame* picture1(int i) const { return at(picture1_, i); }
    QLabel* kaisai(int i) const { return at(kaisai_, i); }
    QLabel* label2(int n) const { return at(label2_, n); }
    QLabel* tohyo(int n) const { return at(tohyo_, n); }
    QLabel* soneki(int n) const { return at(soneki_, n); }
    QLabel* lbzen(int i) const { return at(lbzen_, i); }
    QLabel* maeuri(int i) const { return at(maeuri_, i); }
    QLabel* tohyokei(int i) const { return at(tohyokei_, i); }
    QLabel* sonekikei(int i) const { return at(sonekikei_, i); }

  protected:
    void showEvent(QShowEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    template <typename T, std::size_t N>
    static T* at(const std::array<T*, N>& a, int i) {
        return i >= 0 && static_cast<std::size_t>(i) < N ? a[static_cast<std::size_t>(i)] : nullptr;
    }
    template <typename F>
    void Handle(F&& f);

    void Build();
    void Load(const BankChart& chart);
    void SetTexts(const BankChart& chart);
    // The outer width is set; the client gets what the frame leaves.
    void FitWidth();
    void Unload();

    AppState& s_;
    Hooks hooks_;
    int meetings_ = 0;
    std::array<QFrame*, kBankPanels> picture1_{};
    std::array<QLabel*, kBankPanels> kaisai_{}, label5_{}, label6_{}, lbzen_{}, maeuri_{},
        tohyokei_{}, sonekikei_{};
    std::array<QLabel*, kBankPanels * kBankRaces> label2_{}, tohyo_{}, soneki_{};
};

}  // namespace zb
