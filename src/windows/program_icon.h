#pragma once
// The program's own icon, rendered by the build at each size it is shown in.

#include <QIcon>

namespace zb {

// Every size of the icon (16 to 256 px), from the program's resources.
QIcon ProgramIcon();

// Every window of the program shows the icon: windows without one of their
// own take the application's. Also names the desktop entry, so that a
// desktop's taskbar finds the menu's icon.
void InstallProgramIcon();

}  // namespace zb
