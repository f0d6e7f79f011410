#pragma once
// The one notice of 自動更新: what an automatic pass would have shown in a
// box, in a small window that is never modal and takes no focus. A newer
// notice replaces its text; none stacks on another.

#include <QWidget>
#include <string>

class QLabel;

namespace zb {

class AutoNotice : public QWidget {
    Q_OBJECT
  public:
    explicit AutoNotice(QWidget* owner);

    // Shows the text beside the owner, or hides the notice when it is empty.
    void setNotice(const std::string& text);
    QLabel* text() const { return text_; }
    // How often a hidden notice was shown: once per fault.
    int shownCount() const { return shown_; }

  private:
    QLabel* text_ = nullptr;
    int shown_ = 0;
};

}  // namespace zb
