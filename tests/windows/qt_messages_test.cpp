#include "windows/qt_messages.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include "startup/messages.h"
#include "windows/save_png.h"

class QtMessagesTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { zb::InstallFontSubstitutes(); }

    void startErrorBox() {
        auto box = zb::MakeCriticalBox(zb::kProductName, zb::StartErrorText(2));
        QCOMPARE(box->windowTitle(), QStringLiteral("Zubrica98"));
        QCOMPARE(box->text(), QStringLiteral("本ｿﾌﾄをPAT98ｲﾝｽﾄｰﾙﾌｫﾙﾀﾞに移動させてください。"));
        QCOMPARE(box->icon(), QMessageBox::Critical);
        QCOMPARE(box->buttons().size(), 1);
        QCOMPARE(box->standardButton(box->buttons().first()), QMessageBox::Ok);
        box->show();
        QVERIFY(QTest::qWaitForWindowExposed(box.get()));
        SavePng(box.get(), QStringLiteral("start_error_box.png"));
    }

    void qtDialogsSpeakJapanese() {
        QVERIFY(zb::InstallQtTranslation());
        QColorDialog dialog;
        dialog.setOption(QColorDialog::DontUseNativeDialog);
        QVERIFY(dialog.windowTitle() != QStringLiteral("Select Color"));
        auto* buttons = dialog.findChild<QDialogButtonBox*>();
        QVERIFY(buttons);
        QVERIFY(buttons->button(QDialogButtonBox::Cancel)->text() != QStringLiteral("Cancel"));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        SavePng(&dialog, QStringLiteral("colour_chooser_ja.png"));
    }

    // Qt keeps substitutes in lower case; the order is the order tried.
    void fontSubstitutes_data() {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QStringList>("substitutes");
        QTest::newRow("fixed") << QStringLiteral("ＭＳ ゴシック")
                               << QStringList{QStringLiteral("ms gothic"),
                                              QStringLiteral("ipagothic")};
        QTest::newRow("proportional")
            << QStringLiteral("ＭＳ Ｐゴシック")
            << QStringList{QStringLiteral("ms pgothic"), QStringLiteral("ipapgothic")};
    }
    void fontSubstitutes() {
        QFETCH(QString, family);
        QFETCH(QStringList, substitutes);
        QCOMPARE(QFont::substitutes(family), substitutes);
    }

    void runErrorBoxTitle() {
        auto box = zb::MakeCriticalBox("comp  6", zb::ErrorDescription(6));
        QCOMPARE(box->windowTitle(), QStringLiteral("comp  6"));
        QCOMPARE(box->text(), QStringLiteral("オーバーフローしました。"));
    }
};

QTEST_MAIN(QtMessagesTest)
#include "qt_messages_test.moc"
