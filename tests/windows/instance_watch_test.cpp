// One copy of the program per folder: a second start hands over to the first,
// which comes forward, and ends without touching the folder's files.

#include "windows/instance_watch.h"

#include <QDir>
#include <QProcess>
#include <QWidget>
#include <QtTest>
#include <filesystem>
#include <string>

#include "fixtures/demo_day.h"
#include "fixtures/pat98_writer.h"
#include "platform/instance_lock.h"

namespace {

class InstanceWatchTest : public QObject {
    Q_OBJECT

  private slots:
    void requestBringsAMinimisedWindowBack() {
        zb::fixture::TempDir dir;
        auto lock = zb::InstanceLock::Take(dir.path());
        QCOMPARE(lock->state(), zb::InstanceLock::State::kTaken);
        QWidget w;
        zb::ShowOnRequest(&w, lock->path());
        w.showMinimized();
        QVERIFY(w.isMinimized());
        QVERIFY(zb::InstanceLock::Take(dir.path())->AskHolderToShow());
        QTRY_VERIFY_WITH_TIMEOUT(!w.isMinimized(), 5000);
        QVERIFY(w.isVisible());
    }

    void secondCopyEndsAndTheFirstRunsOn() {
        zb::fixture::TempDir dir;
        zb::fixture::WriteDemoDay(dir.path());
        auto env = QProcessEnvironment::systemEnvironment();
#ifdef _WIN32
        // The copy loads Qt's DLLs and plugins from beside this test.
        const std::string program = dir.path() + "/zubrica98.exe";
        const QString here = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
        env.insert("PATH", here + ";" + env.value("PATH"));
        env.insert("QT_PLUGIN_PATH", here);
#else
        const std::string program = dir.path() + "/zubrica98";
        env.insert("QT_QPA_PLATFORM", "offscreen");
#endif
        std::filesystem::copy_file(ZB_PROGRAM_BINARY, program);
        auto start = [&](QProcess& p) {
            p.setWorkingDirectory(QString::fromStdString(dir.path()));
            p.setProcessEnvironment(env);
            p.start(QString::fromStdString(program), {});
            return p.waitForStarted();
        };
        QProcess first;
        QVERIFY(start(first));
        const QString book = QString::fromStdString(dir.path() + "/Korvane.txt");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(book), 10000);
        const std::string before = zb::fixture::ReadAll(book.toStdString());
        QProcess second;
        QVERIFY(start(second));
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);
        QCOMPARE(zb::fixture::ReadAll(book.toStdString()), before);
#ifdef _WIN32
        // Under Wine the WM_CLOSE of terminate() left it running; what is
        // tested here is the second copy.
        first.kill();
#else
        first.terminate();
#endif
        QVERIFY(first.waitForFinished(10000));
    }
};

}  // namespace

QTEST_MAIN(InstanceWatchTest)
#include "instance_watch_test.moc"
