#include "windows/session_end.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <QWidget>
#include <cstdlib>

#include "platform/session_end.h"

namespace zb {

namespace {

QPointer<QWidget> g_main;
bool g_mainSet = false;

}  // namespace

void WatchSessionEnd() {
    const int fd = SessionEndFd();
    if (fd < 0) return;
    auto* n = new QSocketNotifier(fd, QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(n, &QSocketNotifier::activated, n, [] {
        if (!TakeSessionEnd()) return;
        if (!g_mainSet) std::_Exit(EXIT_FAILURE);
        if (g_main && g_main->isVisible()) g_main->close();
        // Also ends a modal box's loop, which would keep the program alive.
        QCoreApplication::quit();
    });
}

void CloseOnSessionEnd(QWidget* mainWindow) {
    g_main = mainWindow;
    g_mainSet = true;
    // Windows ends a session with WM_ENDSESSION, which Qt turns into
    // aboutToQuit while the window is still open; the process ends right after.
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, mainWindow, [] {
        if (g_main && g_main->isVisible()) g_main->close();
    });
}

}  // namespace zb
