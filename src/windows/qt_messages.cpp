#include "windows/qt_messages.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

namespace zb {

std::unique_ptr<QMessageBox> MakeCriticalBox(const std::string& title, const std::string& text,
                                             QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(QMessageBox::Critical, QString::fromStdString(title),
                                             QString::fromStdString(text), QMessageBox::Ok, parent);
    return box;
}

void QtMessageSink::critical(const std::string& title, const std::string& text) {
    MakeCriticalBox(title, text, QApplication::activeWindow())->exec();
}

void InstallFontSubstitutes() {
    QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
}

}  // namespace zb

namespace zb {

bool InstallQtTranslation() {
    const QString program = QCoreApplication::applicationDirPath();
    const QStringList folders = {program + QStringLiteral("/translations"), program,
                                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
    auto* translator = new QTranslator(QCoreApplication::instance());
    for (const QString& folder : folders) {
        if (translator->load(QStringLiteral("qtbase_ja"), folder))
            return QCoreApplication::installTranslator(translator);
    }
    delete translator;
    return false;
}

}  // namespace zb
