#pragma once
// The version window: product name and version, closed with OK. Modal.

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace zb {

class FmVer : public QDialog {
    Q_OBJECT
  public:
    explicit FmVer(QWidget* parent = nullptr);

    QFrame* picture1() const { return picture1_; }
    QLabel* lbProc() const { return lbProc_; }
    QLabel* lbVer() const { return lbVer_; }
    QPushButton* command1() const { return command1_; }

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    QFrame* picture1_ = nullptr;
    QLabel* lbProc_ = nullptr;
    QLabel* lbVer_ = nullptr;
    QPushButton* command1_ = nullptr;
};

}  // namespace zb
