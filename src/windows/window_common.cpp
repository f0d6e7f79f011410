#include "windows/window_common.h"

#include <QFrame>
#include <QWidget>
#include <cmath>

#include "windows/twips.h"

namespace zb {

QRect TwipsRect(int left, int top, int width, int height) {
    return QRect(TwipsToPxX(left), TwipsToPxY(top), TwipsToPxX(width), TwipsToPxY(height));
}

int32_t WholeTwips(double twips) {
    const double r = std::nearbyint(twips);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) Fail(kErrOverflow);
    return static_cast<int32_t>(r);
}

void ApplyBorderLook(QFrame* frame, int appearance3D, int borderStyle) {
    if (borderStyle == 0)
        frame->setFrameStyle(QFrame::NoFrame);
    else if (appearance3D != 0)
        frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    else
        frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame->setLineWidth(appearance3D != 0 ? 2 : 1);
}

void PlaceAtSaved(QWidget* w, const AppState& s, WindowSlot slot) {
    w->move(TwipsToPxX(s.settings.Left(slot)), TwipsToPxY(s.settings.Top(slot)));
}

void SavePosition(AppState& s, const QWidget* w, WindowSlot slot, int32_t fallbackTop,
                  int32_t fallbackLeft) {
    Settings& st = s.settings;
    const QPoint at = w->pos();
    st.Top(slot) = WholeTwips(PxToTwipsY(at.y()));
    st.Left(slot) = WholeTwips(PxToTwipsX(at.x()));
    if (st.Top(slot) > s.ScreenHeight) st.Top(slot) = fallbackTop;
    if (st.Left(slot) > s.ScreenWidth) st.Left(slot) = fallbackLeft;
}

}  // namespace zb
