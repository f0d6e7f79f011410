#pragma once
// Window pictures for looking at: written to $ZB_PNG_DIR when it is set.

#include <QDir>
#include <QWidget>
#include <QtTest>

inline void SavePng(QWidget* w, const QString& name) {
    const QString dir = qEnvironmentVariable("ZB_PNG_DIR");
    if (dir.isEmpty()) return;
    QDir().mkpath(dir);
    QVERIFY(w->grab().save(dir + QLatin1Char('/') + name));
}
