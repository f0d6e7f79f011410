// Start-up figures of the program beside an empty Qt Widgets window built the
// same way: time from process start to the window's first paint, peak
// resident memory, and CPU used by the open window while nothing happens
// (it must not poll). Runs zb_startup_probe on the demo day; the platform is
// whatever QT_QPA_PLATFORM says. On a real X server, e.g.:
//   Xvfb :16 -screen 0 1280x1024x24 & DISPLAY=:16 openbox &
//   DISPLAY=:16 QT_QPA_PLATFORM=xcb build/benchmarks/zb_startup_benchmarks

#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "fixtures/demo_day.h"
#include "fixtures/pat98_writer.h"

extern char** environ;

namespace {

struct Run {
    double seconds = 0;  // start to first paint
    double maxRssMb = 0;
    double idleCpu = 0;  // seconds of CPU while idle
    double idleWakeups = 0;
};

const std::string& DemoFolder() {
    static zb::fixture::TempDir* tmp = [] {
        auto* t = new zb::fixture::TempDir;
        zb::fixture::WriteDemoDay(t->path());
        return t;
    }();
    return tmp->path();
}

Run Probe(const char* mode, int idleSeconds) {
    int fds[2];
    if (pipe(fds) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addchdir_np(&actions, DemoFolder().c_str());
    const std::string idle = std::to_string(idleSeconds);
    char* argv[] = {const_cast<char*>(ZB_STARTUP_PROBE), const_cast<char*>(mode),
                    const_cast<char*>(idle.c_str()), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, ZB_STARTUP_PROBE, &actions, nullptr, argv, environ) != 0)
        throw std::runtime_error("spawn");
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    Run r;
    FILE* out = fdopen(fds[0], "r");
    char line[128];
    while (std::fgets(line, sizeof line, out)) {
        const std::string l(line);
        if (l.rfind("painted", 0) == 0)
            r.seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (l.rfind("idle-cpu ", 0) == 0) r.idleCpu = std::atof(l.c_str() + 9);
        if (l.rfind("idle-wakeups ", 0) == 0) r.idleWakeups = std::atof(l.c_str() + 13);
    }
    std::fclose(out);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || r.seconds == 0)
        throw std::runtime_error(std::string("probe failed: ") + mode);
    r.maxRssMb = static_cast<double>(usage.ru_maxrss) / 1024.0;
    return r;
}

void Startup(benchmark::State& state, const char* mode) {
    double rss = 0;
    for (auto _ : state) {
        const Run r = Probe(mode, 0);
        state.SetIterationTime(r.seconds);
        rss = std::max(rss, r.maxRssMb);
    }
    state.counters["peak_rss_MB"] = rss;
}

void BM_FirstPaint_MainWindow(benchmark::State& state) {
    Startup(state, "main");
}
void BM_FirstPaint_EmptyWindow(benchmark::State& state) {
    Startup(state, "empty");
}
BENCHMARK(BM_FirstPaint_EmptyWindow)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);
BENCHMARK(BM_FirstPaint_MainWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// The main window beside the empty one and the empty one writing one line
// of text, in turns whose order rotates, so that the machine's load drifts
// over all alike: medians, and the main window's ratios to both.
void BM_FirstPaint_MainOverEmpty(benchmark::State& state) {
    const char* const kModes[3] = {"main", "empty", "text"};
    std::vector<double> ms[3], mb[3];
    int turn = 0;
    for (auto _ : state) {
        for (int k = 0; k < 3; ++k) {
            const int m = (turn + k) % 3;
            const Run r = Probe(kModes[m], 0);
            ms[m].push_back(r.seconds * 1000);
            mb[m].push_back(r.maxRssMb);
        }
        ++turn;
    }
    for (int m = 0; m < 3; ++m) {
        state.counters[std::string(kModes[m]) + "_ms"] = Median(ms[m]);
        state.counters[std::string(kModes[m]) + "_rss_MB"] = Median(mb[m]);
    }
    state.counters["time_ratio"] = Median(ms[0]) / Median(ms[1]);
    state.counters["rss_ratio"] = Median(mb[0]) / Median(mb[1]);
    state.counters["time_ratio_text"] = Median(ms[0]) / Median(ms[2]);
    state.counters["rss_ratio_text"] = Median(mb[0]) / Median(mb[2]);
}
BENCHMARK(BM_FirstPaint_MainOverEmpty)->Unit(benchmark::kMillisecond)->Iterations(20);

// CPU of the open main window over ZB_IDLE_SECONDS (default 60).
void BM_IdleCpu_MainWindow(benchmark::State& state) {
    const char* env = std::getenv("ZB_IDLE_SECONDS");
    const int seconds = env ? std::atoi(env) : 60;
    double cpu = 0;
    for (auto _ : state) cpu = Probe("main", seconds).idleCpu;
    state.counters["idle_cpu_ms"] = cpu * 1000;
    state.counters["idle_seconds"] = seconds;
}
BENCHMARK(BM_IdleCpu_MainWindow)->Unit(benchmark::kSecond)->Iterations(1);

// Wakeups per minute of the open main window while nothing changes: with
// 自動更新 off (0) there must be none; on (1), the folder's listing check.
void BM_IdleWakeups_MainWindow(benchmark::State& state) {
    const char* env = std::getenv("ZB_IDLE_SECONDS");
    const int seconds = env ? std::atoi(env) : 60;
    Run r;
    for (auto _ : state) r = Probe(state.range(0) ? "main-auto" : "main", seconds);
    state.counters["wakeups_per_min"] = r.idleWakeups * 60.0 / seconds;
    state.counters["idle_cpu_ms"] = r.idleCpu * 1000;
}
BENCHMARK(BM_IdleWakeups_MainWindow)->Arg(0)->Arg(1)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
