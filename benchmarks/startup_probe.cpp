// zb_startup_probe main|empty|text [IDLE_SECONDS]: starts as the program starts
// (the same application set-up as src/windows/main.cpp; main: start-up on the
// PAT98 folder that is the current folder, then the main window; empty: a
// bare QWidget of the same client size) and writes one line to standard
// output once the window's first paint is done, its children included. With
// IDLE_SECONDS it then stays open that long and writes the CPU seconds it used
// meanwhile. startup_bench runs it and measures from its start.

#include <sys/resource.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <memory>

#include "program/startup.h"
#include "windows/FMmain.h"
#include "windows/qt_messages.h"
#include "windows/session_end.h"
#include "windows/twips.h"

namespace {

double CpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Times the window's thread gave up the processor to wait: each wait that
// ends is a wakeup.
long Wakeups() {
    rusage u{};
    getrusage(RUSAGE_THREAD, &u);
    return u.ru_nvcsw;
}

// Reports the first paint, then quits now or after the idle time.
class FirstPaint : public QObject {
  public:
    explicit FirstPaint(int idleSeconds) : idleSeconds_(idleSeconds) {}
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            // The window's own paint event comes before its children's: report
            // once the whole paint has finished and the window is on screen.
            auto* w = static_cast<QWidget*>(o);
            QTimer::singleShot(0, [this, w] {
                std::printf("painted %d %d\n", w->width(), w->height());
                std::fflush(stdout);
                idle();
            });
        }
        return QObject::eventFilter(o, e);
    }

  private:
    void idle() {
        if (idleSeconds_ <= 0) {
            QCoreApplication::quit();
            return;
        }
        const double before = CpuSeconds();
        const long switches = Wakeups();
        QTimer::singleShot(idleSeconds_ * 1000, [before, switches] {
            // Taken before anything is written; less the wakeup of this timer.
            const long wakeups = Wakeups() - switches - 1;
            std::printf("idle-cpu %.6f\n", CpuSeconds() - before);
            std::printf("idle-wakeups %ld\n", wakeups);
            std::fflush(stdout);
            QCoreApplication::quit();
        });
    }
    int idleSeconds_;
    bool seen_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    const bool empty = argc > 1 && std::strcmp(argv[1], "empty") == 0;
    const bool text = argc > 1 && std::strcmp(argv[1], "text") == 0;
    const int idleSeconds = argc > 2 ? std::atoi(argv[2]) : 0;
    QApplication app(argc, argv);
    zb::WatchSessionEnd();
    zb::InstallFontSubstitutes();
    zb::InstallQtTranslation();
    FirstPaint probe(idleSeconds);
    std::unique_ptr<QWidget> window;
    auto state = std::make_unique<zb::AppState>();
    zb::QtMessageSink sink;
    if (empty || text) {
        window = std::make_unique<QWidget>();
        window->setFixedSize(131, 140);  // the main window's client area at 96 DPI
        if (text) {
            // What any window pays to write one line in the main window's
            // font: the font system's start, one font file and its glyphs.
            auto* line = new QLabel(QStringLiteral("2026年12月6日 SUN"), window.get());
            line->setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
            line->move(4, 4);
        }
    } else {
        state->Messages = &sink;
        zb::StartPlatform platform;
        platform.currentDir = QDir::currentPath().toStdString();
        // The demo folder holds the settings file too.
        platform.programFolder = platform.currentDir;
        const zb::ScreenTwips screen = zb::PrimaryScreenTwips();
        platform.screenHeight = screen.height;
        platform.screenWidth = screen.width;
        if (!zb::Main(*state, platform)) return 1;
        // "main-auto": with 自動更新 on.
        state->settings.AutoRefresh = argc > 1 && std::strcmp(argv[1], "main-auto") == 0;
        window = std::make_unique<zb::FMmain>(*state);
        zb::CloseOnSessionEnd(window.get());
    }
    window->installEventFilter(&probe);
    window->show();
    return app.exec();
}
