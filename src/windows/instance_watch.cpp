#include "windows/instance_watch.h"

#include <QFileSystemWatcher>
#include <QWidget>

namespace zb {

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
