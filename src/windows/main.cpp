// Zubrica98: start-up, then the main window until it is closed.

#include <QApplication>
#include <QDir>
#include <memory>

#include "platform/instance_lock.h"
#include "program/startup.h"
#include "windows/FMmain.h"
#include "windows/instance_watch.h"
#include "windows/program_icon.h"
#include "windows/qt_messages.h"
#include "windows/session_end.h"
#include "windows/twips.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    zb::WatchSessionEnd();
    zb::InstallFontSubstitutes();
    zb::InstallQtTranslation();
    zb::InstallProgramIcon();
    auto state = std::make_unique<zb::AppState>();
    zb::QtMessageSink sink;
    state->Messages = &sink;

    zb::StartPlatform platform;
    platform.currentDir = QDir::currentPath().toStdString();
    platform.programFolder = QCoreApplication::applicationDirPath().toStdString();
    // A second copy in the same folder would post from a stale passbook and
    // save its settings over the first's: it hands over to the first and ends.
    const auto lock = zb::InstanceLock::Take(platform.currentDir);
    if (lock->state() == zb::InstanceLock::State::kHeld) {
        zb::HandOver(*lock, sink);
        return 0;
    }
    const zb::ScreenTwips screen = zb::PrimaryScreenTwips();
    platform.screenHeight = screen.height;
    platform.screenWidth = screen.width;
    if (!zb::Main(*state, platform)) return 0;

    auto window = std::make_unique<zb::FMmain>(*state);
    zb::CloseOnSessionEnd(window.get());
    if (lock->state() == zb::InstanceLock::State::kTaken)
        zb::ShowOnRequest(window.get(), lock->path());
    window->show();
    return app.exec();
}
