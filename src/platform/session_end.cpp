#include "platform/session_end.h"

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <initializer_list>
#endif

namespace zb {

#ifdef _WIN32

int SessionEndFd() {
    return -1;
}

bool TakeSessionEnd() {
    return false;
}

#else

namespace {

int g_pipe[2] = {-1, -1};

// Only async-signal-safe calls here: one write, errno kept.
extern "C" void OnSessionEndSignal(int) {
    const int saved = errno;
    const char b = 1;
    if (::write(g_pipe[1], &b, 1) < 0) {
        // A full pipe already holds a wake-up.
    }
    errno = saved;
}

bool OpenPipe() {
    if (::pipe(g_pipe) != 0) return false;
    for (int fd : g_pipe) {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    struct sigaction sa = {};
    sa.sa_handler = OnSessionEndSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGHUP, SIGINT}) ::sigaction(sig, &sa, nullptr);
    return true;
}

}  // namespace

int SessionEndFd() {
    static const bool open = OpenPipe();
    return open ? g_pipe[0] : -1;
}

bool TakeSessionEnd() {
    if (g_pipe[0] < 0) return false;
    bool any = false;
    char buf[64];
    ssize_t n;
    while ((n = ::read(g_pipe[0], buf, sizeof buf)) > 0) any = true;
    return any;
}

#endif

}  // namespace zb
