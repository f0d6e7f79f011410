#include "windows/slot_position.h"

#include <QWidget>
#include <cmath>

#include "windows/twips.h"

namespace zb {

namespace {

int32_t WholeTwips(double twips) {
    const double r = std::nearbyint(twips);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) Fail(kErrOverflow);
    return static_cast<int32_t>(r);
}

}  // namespace

void MoveToSlot(QWidget* w, const AppState& s, WindowSlot slot) {
    w->move(TwipsToPxX(s.settings.Left(slot)), TwipsToPxY(s.settings.Top(slot)));
}

void SaveSlotPosition(const QWidget* w, AppState& s, WindowSlot slot) {
    Settings& st = s.settings;
    const QPoint at = w->pos();
    st.Top(slot) = WholeTwips(PxToTwipsY(at.y()));
    st.Left(slot) = WholeTwips(PxToTwipsX(at.x()));
    if (st.Top(slot) > s.ScreenHeight) st.Top(slot) = s.DefaultTop(slot);
    if (st.Left(slot) > s.ScreenWidth) st.Left(slot) = s.DefaultLeft(slot);
}

}  // namespace zb
