#include "windows/qt_messages.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

#include "windows/modal_scope.h"

namespace zb {

std::unique_ptr<QMessageBox> MakeCriticalBox(const std::string& title, const std::string& text,
                                             QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(QMessageBox::Critical, QString::fromStdString(title),
                                             QString::fromStdString(text), QMessageBox::Ok, parent);
    return box;
}

void QtMessageSink::critical(const std::string& title, const std::string& text) {
    const ModalScope modal;
    MakeCriticalBox(title, text, QApplication::activeWindow())->exec();
}

void InstallFontSubstitutes() {
    // Substitutes serve only when the named font is missing, so on Japanese
    // Windows the real fonts win. Windows in another language may list them
    // by their English names; the IPA fonts stand in on Linux.
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"),
                               {QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic")});
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"),
                               {QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic")});
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
