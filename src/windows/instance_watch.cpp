#include "windows/instance_watch.h"

#include <QFileSystemWatcher>
#include <QWidget>

#ifdef _WIN32
#include <windows.h>
#endif

#include "platform/instance_lock.h"
#include "startup/messages.h"

namespace zb {

void HandOver(const InstanceLock& lock, MessageSink& sink) {
#ifdef _WIN32
    // Lets the first copy take the foreground, which this start has.
    ::AllowSetForegroundWindow(ASFW_ANY);
#endif
    if (!lock.AskHolderToShow()) sink.critical(kProductName, HandOverFailedText(lock.path()));
}

void BringForward(QWidget* window) {
    if (window->isMinimized()) window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

void ShowOnRequest(QWidget* window, const std::string& lockPath) {
    auto* watcher = new QFileSystemWatcher(window);
    const QString path = QString::fromStdString(lockPath);
    watcher->addPath(path);
    QObject::connect(watcher, &QFileSystemWatcher::fileChanged, window, [=] {
        // An editor or a tool may have replaced the file: watch the new one.
        if (!watcher->files().contains(path)) watcher->addPath(path);
        BringForward(window);
    });
}

}  // namespace zb
