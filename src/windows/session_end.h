#pragma once
// Closes the main window the normal way when the session ends, so that
// closing saves the settings and positions as the 終了 command does.

class QWidget;

namespace zb {

// Right after the application object exists. A session end before the main
// window is open ends the program at once: nothing is unsaved yet.
void WatchSessionEnd();
// From now on a session end closes this window.
void CloseOnSessionEnd(QWidget* mainWindow);

}  // namespace zb
