// The program's icon: every size drawn, and carried by every window.

#include "windows/program_icon.h"

#include <QApplication>
#include <QMessageBox>
#include <QtTest>

#include "accounting/bank.h"
#include "accounting/race_detail.h"
#include "fixtures/demo_day.h"
#include "fixtures/loaded_day.h"
#include "program/startup.h"
#include "windows/FMlist.h"
#include "windows/FMmain.h"
#include "windows/FmKei.h"
#include "windows/FmVer.h"
#include "windows/FmVision.h"
#include "windows/Fmlog.h"
#include "windows/fmbank.h"

class ProgramIconTest : public QObject {
    Q_OBJECT
  private slots:
    void everySizeIsDrawn() {
        const QIcon icon = zb::ProgramIcon();
        for (int n : {16, 24, 32, 48, 64, 128, 256}) {
            QVERIFY2(icon.availableSizes().contains(QSize(n, n)), qPrintable(QString::number(n)));
            const QImage image = icon.pixmap(QSize(n, n), 1.0).toImage();
            QCOMPARE(image.size(), QSize(n, n));
            // Rounded corners stay clear; the figures box inside is white.
            QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
            QCOMPARE(image.pixelColor(n / 4, n / 4), QColor(Qt::white));
        }
    }

    void everyWindowCarriesIt() {
        zb::InstallProgramIcon();
        QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("zubrica98"));
        const qint64 key = QApplication::windowIcon().cacheKey();
        QVERIFY(!QApplication::windowIcon().isNull());

        zb::fixture::LoadedDay day;
        zb::fixture::WriteDemoDay(day.tmp.path());
        QVERIFY(zb::Main(*day.s, {day.tmp.path(), day.tmp.path(), 12000, 12000}));
        zb::AppState& s = *day.s;
        zb::FMmain main(s);
        zb::FmVer version(&main);
        zb::FMlist list(s);
        zb::fmbank bank(s, zb::BankChart{});
        zb::Fmlog detail(s, zb::DetailTexts{});
        zb::FmVision board(s, QString(), {});
        zb::FmKei passbook(s);
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Zubrica98"), QStringLiteral("x"));
        for (QWidget* w : std::initializer_list<QWidget*>{&main, &version, &list, &bank, &detail,
                                                          &board, &passbook, &box}) {
            QVERIFY2(w->isWindow(), w->metaObject()->className());
            QVERIFY2(w->windowIcon().cacheKey() == key, w->metaObject()->className());
        }
    }
};

QTEST_MAIN(ProgramIconTest)
#include "program_icon_test.moc"
