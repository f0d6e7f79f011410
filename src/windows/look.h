#pragma once
// What the race detail and results board windows share: white panels with the
// border settings, and label colours.

#include <QFrame>
#include <QPalette>
#include <QWidget>

#include "startup/app_state.h"
#include "windows/twips.h"
#include "windows/window_common.h"

namespace zb {

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

// Border3D and Border of the settings on a panel or text box, white inside.
inline void ApplyBorderLook(QFrame* f, const Settings& st) {
    ApplyBorderLook(f, st.Border3D, st.Border | st.Border3D);
    QPalette pal = f->palette();
    pal.setColor(QPalette::Base, Qt::white);
    f->setPalette(pal);
    SetBackColor(f, Qt::white);
}

}  // namespace zb
