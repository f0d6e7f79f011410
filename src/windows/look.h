#pragma once
// What the race detail and results board windows share: colours kept as
// 0x00BBGGRR, twips rectangles and the panel border settings.

#include <QFrame>
#include <QPalette>
#include <QWidget>

#include "startup/app_state.h"
#include "windows/twips.h"

namespace zb {

inline QColor ColorFromValue(int32_t v) {
    const auto u = static_cast<uint32_t>(v);
    return QColor(static_cast<int>(u & 0xFF), static_cast<int>((u >> 8) & 0xFF),
                  static_cast<int>((u >> 16) & 0xFF));
}

inline QRect TwipsRect(int left, int top, int width, int height) {
    return QRect(TwipsToPxX(left), TwipsToPxY(top), TwipsToPxX(width), TwipsToPxY(height));
}

// Border3D and Border of the settings on a panel or text box, white inside.
inline void ApplyBorderLook(QFrame* f, const Settings& st) {
    if ((st.Border | st.Border3D) == 0)
        f->setFrameStyle(QFrame::NoFrame);
    else if (st.Border3D != 0)
        f->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    else
        f->setFrameStyle(QFrame::Box | QFrame::Plain);
    f->setLineWidth(st.Border3D != 0 ? 2 : 1);
    QPalette pal = f->palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::Base, Qt::white);
    f->setPalette(pal);
    f->setAutoFillBackground(true);
}

inline void SetBackColor(QWidget* w, const QColor& c) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, c);
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

inline void SetForeColor(QWidget* w, const QColor& c) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, c);
    w->setPalette(pal);
}

}  // namespace zb
