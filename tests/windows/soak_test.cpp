// A race day compressed: another process writes PAT98's files in bursts
// (half-written, renamed, deleted, cut short), makes the passbook read-only
// for a while and points the seed file at a missing folder for a while,
// against the open window with 自動更新 on and its windows open. The program
// must live through it, tell each fault once, and end where a fresh start
// on the final folder ends. ZB_SOAK_BURSTS sets the number of bursts.

#include <QAction>
#include <QLabel>
#include <QProcess>
#include <QtTest>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "accounting/day_figures.h"
#include "fixtures/loaded_day.h"
#include "windows/FMmain.h"
#include "windows/auto_notice.h"
#include "windows/folder_follower.h"
#include "windows/qt_messages.h"

namespace fs = std::filesystem;

namespace {

void Put(const fs::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary | std::ios::trunc) << bytes;
}

// The writer process: bursts of writes of the held-back files into dir.
int Writer(const std::string& dir, const std::string& later, int bursts, unsigned seed) {
    std::vector<std::pair<std::string, std::string>> files;
    for (const auto& e : fs::directory_iterator(later))
        files.emplace_back(e.path().filename().string(), zb::fixture::ReadAll(e.path().string()));
    std::sort(files.begin(), files.end());
    std::mt19937 rng(seed);
    const fs::path book = fs::path(dir) / "Korvane.txt";
    const fs::path seedFile = fs::path(dir) / "zubrica.txt";
    for (int i = 0; i < bursts; ++i) {
        if (i == bursts * 3 / 10)
            fs::permissions(
                book, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                fs::perm_options::remove);
        if (i == bursts * 6 / 10)
            fs::permissions(book, fs::perms::owner_write, fs::perm_options::add);
        if (i == bursts * 7 / 10) Put(seedFile, dir + "/gone\r\n");
        if (i == bursts * 8 / 10) fs::remove(seedFile);
        const auto& [name, bytes] = files[rng() % files.size()];
        const fs::path to = fs::path(dir) / name;
        switch (rng() % 5) {
            case 0:  // half-written, then whole
                Put(to, bytes.substr(0, rng() % bytes.size()));
                std::this_thread::sleep_for(std::chrono::milliseconds(rng() % 5));
                Put(to, bytes);
                break;
            case 1:  // written beside it, then renamed over it
                Put(to.string() + ".new", bytes);
                fs::rename(to.string() + ".new", to);
                break;
            case 2:
                fs::remove(to);
                break;
            case 3:  // cut short by a byte
                Put(to, bytes.substr(0, bytes.size() - 1));
                break;
            default:
                Put(to, bytes);
        }
        // Now and then a pause long enough for a pass.
        std::this_thread::sleep_for(
            std::chrono::milliseconds(rng() % 4 ? rng() % 8 : 60 + rng() % 60));
    }
    for (const auto& [name, bytes] : files) Put(fs::path(dir) / name, bytes);
    return 0;
}

#ifndef _WIN32
long RssKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}
#endif

}  // namespace

class SoakTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { zb::InstallFontSubstitutes(); }

    void aRaceDayOfWritesAgainstTheOpenWindow() {
#ifdef _WIN32
        QSKIP("read-only by permission bits and /proc are POSIX");
#else
        zb::fixture::LoadedDay day;
        const std::string later = zb::fixture::StartWithResultsLater(day);
        day.s->settings.AutoRefresh = true;
        zb::FMmain m(*day.s);
        m.follower()->setDelays(50, 200, {50, 100, 200});
        m.ShowBankChart();
        m.ShowBetList();
        m.ShowPassbook();
        const int bursts = qEnvironmentVariableIntValue("ZB_SOAK_BURSTS") > 0
                               ? qEnvironmentVariableIntValue("ZB_SOAK_BURSTS")
                               : 300;
        QProcess writer;
        writer.start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--writer"), QString::fromStdString(day.tmp.path()),
                      QString::fromStdString(later), QString::number(bursts), QStringLiteral("7")});
        QVERIFY(writer.waitForStarted());
        const auto start = std::chrono::steady_clock::now();
        long rssEarly = 0;
        while (writer.state() != QProcess::NotRunning) {
            QTest::qWait(100);
            if (!rssEarly && std::chrono::steady_clock::now() - start > std::chrono::seconds(2))
                rssEarly = RssKiB();
        }
        QCOMPARE(writer.exitCode(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(m.label(1)->text(),
                                  QString::fromStdU16String(u"全投票が確定しました"), 10000);
        QTest::qWait(1000);
        const long rssEnd = RssKiB();
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        qInfo("%d bursts in %.1f s; RSS %ld KiB after 2 s, %ld KiB at the end; %d notices", bursts,
              seconds, rssEarly, rssEnd, m.notice() ? m.notice()->shownCount() : 0);

        zb::fixture::LoadedDay fresh;
        QVERIFY(zb::Main(*fresh.s, {day.tmp.path(), fresh.tmp.path() + "/", 12000, 12000}));
        const zb::MainTexts t = zb::ComputeMainTexts(*fresh.s);
        for (int i : {0, 1, 12, 13, 14, 15, 16})
            QCOMPARE(m.label(i)->text(), QString::fromStdU16String(t.label[std::size_t(i)]));
        const std::string book = zb::fixture::ReadAll(day.tmp.path() + "/Korvane.txt");
        int posted = 0;
        for (std::size_t i = 0; i < 10 * 35 && i + 8 <= book.size(); i += 35)
            posted += book.compare(i, 8, "20261206") == 0;
        QCOMPARE(posted, 1);
        // The read-only passbook and the missing folder: one notice each at most.
        QVERIFY(!m.notice() || m.notice()->shownCount() <= 2);
        QCOMPARE(day.titles(), std::string());
        QVERIFY(m.fmbank && m.FMlist && m.FmKei);
#ifndef __SANITIZE_ADDRESS__  // AddressSanitizer holds freed memory back in quarantine
        QVERIFY(rssEnd - rssEarly < 16 * 1024);
#endif
#endif
    }
};

int main(int argc, char** argv) {
    if (argc == 6 && std::string(argv[1]) == "--writer")
        return Writer(argv[2], argv[3], std::stoi(argv[4]),
                      static_cast<unsigned>(std::stoul(argv[5])));
    QApplication app(argc, argv);
    SoakTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "soak_test.moc"
