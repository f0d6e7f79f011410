#pragma once
// The first copy of the program comes forward when a second copy is started
// in the same folder (the second writes into the lock file and ends).

#include <string>

class QWidget;

namespace zb {

class InstanceLock;
class MessageSink;

// From a second copy: asks the running copy to come forward. A request that
// cannot be delivered is said in a start-up box, so that a start by hand
// never ends without a word.
void HandOver(const InstanceLock& lock, MessageSink& sink);

// Watches the lock file for as long as the window lives.
void ShowOnRequest(QWidget* window, const std::string& lockPath);

// Restores a minimised window and puts it in front.
void BringForward(QWidget* window);

}  // namespace zb
