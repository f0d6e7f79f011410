#include "windows/qt_messages.h"

#include <QApplication>
#include <QFont>
#include <QMessageBox>

namespace zb {

void QtMessageSink::critical(const std::string& title, const std::string& text) {
    QMessageBox::critical(QApplication::activeWindow(), QString::fromStdString(title),
                          QString::fromStdString(text));
}

void InstallFontSubstitutes() {
    QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
}

}  // namespace zb
