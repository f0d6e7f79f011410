#pragma once
// What the race detail and results board windows share: white panels with the
// border settings, and label colours.

#include <QAbstractScrollArea>
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
// A text box's scroll bar keeps the application's palette: the style caches
// its pictures under the palette's key, and a palette of its own at every
// opening would fill that cache with pictures of scroll bars long closed.
inline void ApplyBorderLook(QFrame* f, const Settings& st) {
    ApplyBorderLook(f, st.Border3D, st.Border | st.Border3D);
    auto* box = qobject_cast<QAbstractScrollArea*>(f);
    QWidget* inside = box ? box->viewport() : f;
    QPalette pal = inside->palette();
    pal.setColor(QPalette::Base, Qt::white);
    inside->setPalette(pal);
    SetBackColor(inside, Qt::white);
}

}  // namespace zb
