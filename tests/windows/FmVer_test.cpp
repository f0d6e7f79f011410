// The version window offscreen: texts, layout, and that it blocks its owner.

#include "windows/FmVer.h"

#include <QApplication>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "windows/qt_messages.h"
#include "windows/twips.h"

using zb::TwipsToPxX;
using zb::TwipsToPxY;

namespace {

QRect Twips(int left, int top, int width, int height) {
    return QRect(TwipsToPxX(left), TwipsToPxY(top), TwipsToPxX(width), TwipsToPxY(height));
}

}  // namespace

class FmVerTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { zb::InstallFontSubstitutes(); }

    void textsAndLayout() {
        zb::FmVer v;
        QCOMPARE(v.objectName(), QStringLiteral("FmVer"));
        QCOMPARE(v.windowTitle(), QString::fromStdU16String(u"ﾊﾞｰｼﾞｮﾝ"));
        QCOMPARE(v.size(), QSize(TwipsToPxX(2055), TwipsToPxY(1290)));
        QCOMPARE(v.minimumSize(), v.maximumSize());
        QVERIFY(!v.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!v.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(v.isModal());

        QVERIFY(v.findChild<QFrame*>(QStringLiteral("Picture1")) == v.picture1());
        QCOMPARE(v.picture1()->geometry(), Twips(75, 105, 1905, 645));
        QVERIFY(v.picture1()->frameShape() != QFrame::NoFrame);

        const int inset = v.picture1()->frameWidth();
        QCOMPARE(v.lbProc()->objectName(), QStringLiteral("LbProc"));
        QCOMPARE(v.lbProc()->text(), QStringLiteral("Zubrica98"));
        QCOMPARE(v.lbProc()->geometry(), Twips(30, 60, 1770, 255).translated(inset, inset));
        QCOMPARE(v.lbProc()->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QCOMPARE(v.lbProc()->font().family(), QString::fromStdU16String(u"ＭＳ Ｐゴシック"));
        QCOMPARE(v.lbProc()->font().pointSize(), 9);
        QVERIFY(v.lbProc()->font().bold());
        QVERIFY(!v.lbProc()->autoFillBackground());

        QCOMPARE(v.lbVer()->objectName(), QStringLiteral("LbVer"));
        QCOMPARE(v.lbVer()->text(), QStringLiteral("Ver 1.10"));
        QCOMPARE(v.lbVer()->geometry(), Twips(30, 330, 1770, 255).translated(inset, inset));
        QCOMPARE(v.lbVer()->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);

        QCOMPARE(v.command1()->objectName(), QStringLiteral("Command1"));
        QCOMPARE(v.command1()->text(), QStringLiteral("OK"));
        QCOMPARE(v.command1()->geometry(), Twips(420, 840, 1215, 375));
    }

    void modalCentredAndClosedByOk() {
        QWidget owner;
        owner.resize(200, 100);
        QPushButton ownerButton(QStringLiteral("x"), &owner);
        int ownerClicks = 0;
        connect(&ownerButton, &QPushButton::clicked, [&] { ++ownerClicks; });
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        zb::FmVer v(&owner);
        bool blocked = false;
        QPoint centre;
        QTimer::singleShot(0, [&] {
            blocked = QApplication::activeModalWidget() == &v &&
                      v.windowModality() == Qt::ApplicationModal;
            centre = v.frameGeometry().center();
            // The owner takes no input while the window is open.
            QTest::mouseClick(owner.windowHandle(), Qt::LeftButton, {},
                              ownerButton.geometry().center());
            const QByteArray dir = qgetenv("ZB_PNG_DIR");
            if (!dir.isEmpty()) {
                QDir().mkpath(QString::fromLocal8Bit(dir));
                v.grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/version.png"));
            }
            QTest::mouseClick(v.command1(), Qt::LeftButton);
        });
        const int result = v.exec();
        QCOMPARE(result, int(QDialog::Accepted));
        QVERIFY(blocked);
        QCOMPARE(ownerClicks, 0);
        QTest::mouseClick(owner.windowHandle(), Qt::LeftButton, {},
                          ownerButton.geometry().center());
        QCOMPARE(ownerClicks, 1);
        QVERIFY(!v.isVisible());
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        const QPoint screenCentre = QGuiApplication::primaryScreen()->geometry().center();
        QVERIFY((centre - screenCentre).manhattanLength() <= 2);
    }
};

QTEST_MAIN(FmVerTest)
#include "FmVer_test.moc"
