#pragma once
// A key as the user types it: to the open popup, or to the focus widget of
// the active window, so the window's shortcuts see it first.

#include <QtTest>

inline void TypeKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(static_cast<QWidget*>(nullptr), key, modifiers);
}
