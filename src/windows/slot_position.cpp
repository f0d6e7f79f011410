#include "windows/slot_position.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>
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

QPoint ReachablePosition(QPoint saved, QPoint fallback, QSize titleBar, const QRegion& area,
                         const QRect& home) {
    auto reachable = [&](QPoint at) {
        return QRegion(QRect(at, titleBar)).subtracted(area).isEmpty();
    };
    if (reachable(saved)) return saved;
    if (reachable(fallback) || home.isEmpty()) return fallback;
    // A default of a larger screen: its nearest place on this one.
    const int x = std::clamp(fallback.x(), home.left(),
                             std::max(home.left(), home.x() + home.width() - titleBar.width()));
    const int y = std::clamp(fallback.y(), home.top(),
                             std::max(home.top(), home.y() + home.height() - titleBar.height()));
    return QPoint(x, y);
}

void MoveToSlot(QWidget* w, const AppState& s, WindowSlot slot) {
    const QPoint saved(TwipsToPxX(s.settings.Left(slot)), TwipsToPxY(s.settings.Top(slot)));
    const QPoint fallback(TwipsToPxX(s.DefaultLeft(slot)), TwipsToPxY(s.DefaultTop(slot)));
    QRegion area;
    for (const QScreen* screen : QGuiApplication::screens()) area += screen->availableGeometry();
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary) {
        w->move(saved);
        return;
    }
    // A window not yet shown has no frame: the style's title bar stands in.
    const int frameTop = w->geometry().y() - w->frameGeometry().y();
    const int bar =
        frameTop > 0 ? frameTop : w->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, w);
    const QSize titleBar(w->frameGeometry().width(), std::max(bar, 1));
    w->move(ReachablePosition(saved, fallback, titleBar, area, primary->availableGeometry()));
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
