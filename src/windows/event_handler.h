#pragma once
// A window event runs its handler through here: a run-time failure is shown
// as its message box instead of ending the program.

#include <new>

#include "startup/messages.h"

namespace zb {

template <typename F>
void HandleEvent(AppState& s, F&& f) {
    try {
        f();
    } catch (const RunError& e) {
        ReportRunError(s, e);
    } catch (const std::bad_alloc&) {
        ReportRunError(s, RunError(kErrOutOfMemory, ErrorDescription(kErrOutOfMemory)));
    }
}

}  // namespace zb
