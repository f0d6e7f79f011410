#pragma once
// The bet list window: the text of listdsp in one of its four views.

#include <QWidget>
#include <array>
#include <vector>

#include "startup/app_state.h"

class QAction;
class QPlainTextEdit;
class QToolBar;

namespace zb {

class FMlist : public QWidget {
    Q_OBJECT
  public:
    // Shows ReportText as listdsp last built it; the opener sets the caption.
    explicit FMlist(AppState& state, QWidget* parent = nullptr);

    // A click on toolbar button 1 to 4: view index - 1.
    void ToolbarClick(int index);

    QToolBar* toolbar() const { return toolbar_; }
    QAction* toolButton(int index) const;  // 1 to 4
    QPlainTextEdit* text1() const { return text1_; }

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    void Load();
    void ShowReport();

    AppState& s_;
    QToolBar* toolbar_ = nullptr;
    std::vector<QAction*> buttons_;  // index 1 to 4
    QPlainTextEdit* text1_ = nullptr;
};

}  // namespace zb
