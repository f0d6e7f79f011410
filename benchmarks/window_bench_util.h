#pragma once
// The one application object of the window benchmarks, offscreen unless
// QT_QPA_PLATFORM says otherwise.

#include <QApplication>

#include "windows/qt_messages.h"

namespace zb::bench {

inline QApplication& App() {
    static int argc = 1;
    static char name[] = "zb_window_benchmarks";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication* app = [] {
        auto* a = new QApplication(argc, argv);
        zb::InstallFontSubstitutes();
        return a;
    }();
    return *app;
}

}  // namespace zb::bench
