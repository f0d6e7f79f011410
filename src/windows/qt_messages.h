#pragma once
// Message boxes of the program: the core's messages as Qt critical boxes.

#include <memory>

#include "startup/app_state.h"

class QMessageBox;
class QWidget;

namespace zb {

class QtMessageSink : public MessageSink {
  public:
    void critical(const std::string& title, const std::string& text) override;
};

// The critical box with one OK button that the sink shows.
std::unique_ptr<QMessageBox> MakeCriticalBox(const std::string& title, const std::string& text,
                                             QWidget* parent = nullptr);

// "ＭＳ ゴシック" and "ＭＳ Ｐゴシック" fall back to their English names, then to
// the IPA fonts, where missing.
void InstallFontSubstitutes();

// Qt's own dialogs and buttons in Japanese: "qtbase_ja.qm" from beside the
// program (as shipped on Windows) or from Qt's translations folder. False
// when no copy could be loaded; the dialogs then stay in English.
bool InstallQtTranslation();

}  // namespace zb
