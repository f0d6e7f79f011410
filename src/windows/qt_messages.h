#pragma once
// Message boxes of the program: the core's messages as Qt critical boxes.

#include "startup/app_state.h"

namespace zb {

class QtMessageSink : public MessageSink {
  public:
    void critical(const std::string& title, const std::string& text) override;
};

// "ＭＳ ゴシック" and "ＭＳ Ｐゴシック" fall back to the IPA fonts where missing.
void InstallFontSubstitutes();

}  // namespace zb
