#pragma once
// The analysis window "収支分析": the archived bets grouped by a chosen key
// over a period, filtered by bet type and venue, each row with a bar of its
// return rate against a 100 % line. The rows come from the archive's own
// analysis, the same the report command prints.

#include <QWidget>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "archive/analysis.h"
#include "startup/app_state.h"

class QCloseEvent;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QTableWidget;
class QToolButton;

namespace zb {

class FmAnalysis : public QWidget {
    Q_OBJECT
  public:
    explicit FmAnalysis(AppState& state, QWidget* parent = nullptr);
    // Reads the archive again with the choices shown; an automatic pass calls it.
    void rebuild();
    // The save dialog; tests put their own in its place.
    using PickSaveFile = std::function<std::string(QWidget*, const std::string&)>;
    void setPickSaveFile(PickSaveFile pick) { pickSaveFile_ = std::move(pick); }
    void chooseKey(AnalysisKey key);
    void sortBy(int column);
    void save();
    QTableWidget* table() const { return table_; }
    const std::vector<AnalysisRow>& rows() const { return rows_; }

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    AnalysisFilter filter() const;
    void fill();
    // The head and every row as shown, tab-separated.
    QString ShownRows() const;

    AppState& s_;
    QComboBox* key_ = nullptr;
    QComboBox* period_ = nullptr;
    QDateEdit* from_ = nullptr;
    QDateEdit* to_ = nullptr;
    std::array<QToolButton*, 5> types_{};
    std::array<QToolButton*, 10> venues_{};
    QTableWidget* table_ = nullptr;
    QLabel* since_ = nullptr;
    QPushButton* save_ = nullptr;
    std::vector<AnalysisRow> rows_;
    int sortColumn_ = -1;
    bool descending_ = false;
    PickSaveFile pickSaveFile_;
};

}  // namespace zb
