#pragma once
// The first copy of the program comes forward when a second copy is started
// in the same folder (the second writes into the lock file and ends).

#include <string>

class QWidget;

namespace zb {

// Watches the lock file for as long as the window lives.
void ShowOnRequest(QWidget* window, const std::string& lockPath);

// Restores a minimised window and puts it in front.
void BringForward(QWidget* window);

}  // namespace zb
