#pragma once
// What the secondary windows share: colours kept as 0x00BBGGRR, the panel
// border settings, saved positions per window slot, and event handlers that
// report a run-time failure instead of ending the program.

#include <QFrame>
#include <QPalette>
#include <QWidget>
#include <cmath>
#include <new>

#include "startup/app_state.h"
#include "startup/startup.h"
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

// Runs a window's event handler; a run-time failure is reported.
template <typename F>
void HandleEvent(AppState& s, F&& f) {
    try {
        f();
    } catch (const RunError& e) {
        ReportRunError(s, e);
    } catch (const std::bad_alloc&) {
        ReportRunError(s, RunError(kErrOutOfMemory, ErrorDescription(kErrOutOfMemory)));
    }
}

inline void MoveToSlot(QWidget* w, const AppState& s, int slot) {
    w->move(TwipsToPxX(s.settings.Left(slot)), TwipsToPxY(s.settings.Top(slot)));
}

// The window's position into its slot; beyond the screen the slot's default.
inline void StoreSlot(AppState& s, int slot, QPoint at) {
    auto whole = [](double twips) {
        const double r = std::nearbyint(twips);
        if (!(r >= -2147483648.0 && r <= 2147483647.0)) Fail(kErrOverflow);
        return static_cast<int32_t>(r);
    };
    Settings& st = s.settings;
    st.Top(slot) = whole(PxToTwipsY(at.y()));
    st.Left(slot) = whole(PxToTwipsX(at.x()));
    if (st.Top(slot) > s.ScreenHeight) st.Top(slot) = s.DefaultTop(slot);
    if (st.Left(slot) > s.ScreenWidth) st.Left(slot) = s.DefaultLeft(slot);
}

}  // namespace zb
