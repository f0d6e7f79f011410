// The program itself, started on the demo day and ended by the session's
// signals: each closes the main window the normal way, so the settings and
// the window position are saved as the 終了 command saves them.

#include <signal.h>

#include <QFile>
#include <QProcess>
#include <QtTest>
#include <filesystem>
#include <string>

#include "fixtures/demo_day.h"
#include "fixtures/pat98_writer.h"
#include "startup/ini.h"

namespace {

class SessionEndTest : public QObject {
    Q_OBJECT

  private slots:
    void signalSavesAsClosingDoes_data() {
        QTest::addColumn<int>("sig");
        QTest::newRow("SIGTERM") << int{SIGTERM};
        QTest::newRow("SIGHUP") << int{SIGHUP};
        QTest::newRow("SIGINT") << int{SIGINT};
    }

    void signalSavesAsClosingDoes() {
        QFETCH(int, sig);
        zb::fixture::TempDir dir;
        zb::fixture::WriteDemoDay(dir.path());
        // The settings live beside the program, so the program goes into the folder.
        const std::string program = dir.path() + "/zubrica98";
        std::filesystem::copy_file(ZB_PROGRAM_BINARY, program);
        QProcess p;
        p.setWorkingDirectory(QString::fromStdString(dir.path()));
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        p.setProcessEnvironment(env);
        p.start(QString::fromStdString(program), {});
        QVERIFY(p.waitForStarted());
        // The passbook is read at start-up, after the handlers are in place.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(QString::fromStdString(dir.path() + "/Korvane.txt")),
                                 10000);
        QTest::qWait(300);
        ::kill(static_cast<pid_t>(p.processId()), sig);
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        const std::string ini = dir.path() + "/Zubrica98.ini";
        QVERIFY(!zb::IniGet(ini, "WINDOW", "Top5").empty());
        QCOMPARE(zb::IniGet(ini, "OPTION", "Border"), std::string("1"));
    }
};

}  // namespace

QTEST_GUILESS_MAIN(SessionEndTest)
#include "session_end_test.moc"
