#include "windows/modal_scope.h"

#include <QApplication>

namespace zb {

bool ModalScope::Open() {
    if (depth_ > 0) return true;
    // Without widgets (a console test) there are no boxes to ask about.
    return qobject_cast<QApplication*>(QCoreApplication::instance()) &&
           QApplication::activeModalWidget() != nullptr;
}

}  // namespace zb
