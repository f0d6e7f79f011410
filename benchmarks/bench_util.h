#pragma once
// What the benchmarks share: a message sink that shows nothing and the
// process's peak resident memory.

#include <sys/resource.h>

#include <string>

#include "startup/app_state.h"

namespace zb::bench {

struct Silent : MessageSink {
    void critical(const std::string&, const std::string&) override {}
};

inline long PeakKb() {
    struct rusage u;
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

}  // namespace zb::bench
