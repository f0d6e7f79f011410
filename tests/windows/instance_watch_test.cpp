// One copy of the program per folder: a second start hands over to the first,
// which comes forward, and ends without touching the folder's files.

#include "windows/instance_watch.h"

#include <QDir>
#include <QMessageBox>
#include <QProcess>
#include <QWidget>
#include <QtTest>
#include <filesystem>
#include <string>

#include "fixtures/demo_day.h"
#include "fixtures/pat98_writer.h"
#include "fixtures/recording_sink.h"
#include "platform/instance_lock.h"
#include "windows/qt_messages.h"
#include "windows/save_png.h"

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

    // The request file gone (the running copy ended meanwhile): the second
    // copy says so.
    void undeliveredRequestIsSaid() {
        zb::fixture::TempDir dir;
        auto first = zb::InstanceLock::Take(dir.path());
        auto second = zb::InstanceLock::Take(dir.path());
        QCOMPARE(second->state(), zb::InstanceLock::State::kHeld);
        zb::fixture::RecordingSink sink;
        zb::HandOver(*second, sink);
        QCOMPARE(sink.messages.size(), std::size_t{0});
        first.reset();  // Windows removes no file that is still open
        QVERIFY(std::filesystem::remove(second->path()));
        zb::HandOver(*second, sink);
        QCOMPARE(sink.messages.size(), std::size_t{1});
        QCOMPARE(sink.messages[0].title, std::string("Zubrica98"));
        QCOMPARE(sink.messages[0].text,
                 "本ｿﾌﾄは既に起動していますが、前面に表示できませんでした。\n" + second->path());
        SavePng(zb::MakeCriticalBox(sink.messages[0].title, sink.messages[0].text).get(),
                QStringLiteral("hand_over_failed_box.png"));
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
