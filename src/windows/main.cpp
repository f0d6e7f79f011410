// Zubrica98: start-up, then the main window until it is closed.

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <memory>

#include "startup/startup.h"
#include "windows/FMmain.h"
#include "windows/qt_messages.h"
#include "windows/session_end.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    zb::WatchSessionEnd();
    zb::InstallFontSubstitutes();
    auto state = std::make_unique<zb::AppState>();
    zb::QtMessageSink sink;
    state->Messages = &sink;

    zb::StartPlatform platform;
    platform.currentDir = QDir::currentPath().toStdString();
    platform.programFolder = QCoreApplication::applicationDirPath().toStdString();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize px = screen->size();
        platform.screenHeight =
            static_cast<int32_t>(px.height() * 1440.0 / screen->logicalDotsPerInchY());
        platform.screenWidth =
            static_cast<int32_t>(px.width() * 1440.0 / screen->logicalDotsPerInchX());
    }
    if (!zb::Main(*state, platform)) return 0;

    auto window = std::make_unique<zb::FMmain>(*state);
    zb::CloseOnSessionEnd(window.get());
    window->show();
    return app.exec();
}
