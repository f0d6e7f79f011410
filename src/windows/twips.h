#pragma once
// Window geometry is kept in twips (1440 to the inch) and shown in pixels
// through the screen's logical DPI.

#include <QGuiApplication>
#include <QScreen>
#include <cmath>
#include <cstdint>

namespace zb {

inline double LogicalDpiY() {
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->logicalDotsPerInchY() : 96.0;
}
inline double LogicalDpiX() {
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->logicalDotsPerInchX() : 96.0;
}
inline int TwipsToPxX(double twips) {
    return static_cast<int>(std::lround(twips * LogicalDpiX() / 1440.0));
}
inline int TwipsToPxY(double twips) {
    return static_cast<int>(std::lround(twips * LogicalDpiY() / 1440.0));
}
inline double PxToTwipsX(int px) {
    return px * 1440.0 / LogicalDpiX();
}
inline double PxToTwipsY(int px) {
    return px * 1440.0 / LogicalDpiY();
}

// The primary screen's size in twips; zero without a screen.
struct ScreenTwips {
    int32_t height = 0;
    int32_t width = 0;
};
inline ScreenTwips PrimaryScreenTwips() {
    ScreenTwips t;
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize px = screen->size();
        t.height = static_cast<int32_t>(px.height() * 1440.0 / screen->logicalDotsPerInchY());
        t.width = static_cast<int32_t>(px.width() * 1440.0 / screen->logicalDotsPerInchX());
    }
    return t;
}

}  // namespace zb
