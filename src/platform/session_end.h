#pragma once
// The end of the user's session (logging out, shutting down, a terminal
// closing, Ctrl+C) must close the main window the normal way, so that its
// settings and positions are saved as the 終了 command saves them.
//
// On POSIX, SIGTERM, SIGHUP and SIGINT write one byte to a pipe; the window
// layer watches the pipe's read end and closes the main window from its
// event loop, where closing is safe. On Windows the end-of-session message
// reaches the window layer through the event loop itself, and there is no
// pipe.

namespace zb {

// Installs the signal handlers (once) and returns the read end of the pipe,
// or -1 where there is none.
int SessionEndFd();

// Empties the pipe after a wake-up; true when a session end was signalled.
bool TakeSessionEnd();

}  // namespace zb
