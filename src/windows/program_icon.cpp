#include "windows/program_icon.h"

#include <QGuiApplication>

// The icon's PNGs are compiled into this library; a static library's resources
// must be registered by name.
static void InitProgramIconResource() {
    Q_INIT_RESOURCE(program_icon);
}

namespace zb {

QIcon ProgramIcon() {
    InitProgramIconResource();
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/zubrica98-%1.png").arg(size), QSize(size, size));
    return icon;
}

void InstallProgramIcon() {
    QGuiApplication::setWindowIcon(ProgramIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("zubrica98"));
}

}  // namespace zb
