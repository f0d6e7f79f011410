// A write killed at any point leaves the file with exactly its old or its new
// content, readable, and at most the one temporary of the killed write, which
// the next write removes. ZB_INTERRUPT_ITERATIONS sets the kills per file.

#include <gtest/gtest.h>

#ifdef _WIN32
TEST(InterruptedWrites, FileIsOldOrNewAndReadsBack) {
    GTEST_SKIP() << "fork and SIGKILL are POSIX";
}
#else
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <thread>

#include "fixtures/pat98_writer.h"
#include "platform/user_files_test_util.h"

namespace zb {
namespace {

using test::kUserFiles;
using test::UserFileCase;
using test::UserFileName;
using test::UserFolder;

int Iterations() {
    const char* v = std::getenv("ZB_INTERRUPT_ITERATIONS");
    return v && std::atoi(v) > 0 ? std::atoi(v) : 100;
}

struct InterruptedWrites : ::testing::TestWithParam<UserFileCase>, UserFolder {
    const UserFileCase& c = GetParam();

    // Forks a child that writes version v; kills it after `delay` unless it
    // is negative. Returns how long the child lived.
    std::chrono::nanoseconds writeInChild(int v, std::chrono::nanoseconds delay) {
        const auto start = std::chrono::steady_clock::now();
        pid_t pid = ::fork();
        if (pid == 0) {
            c.write(s, v);
            ::_exit(0);
        }
        EXPECT_GT(pid, 0);
        if (delay.count() >= 0) {
            std::this_thread::sleep_for(delay);
            ::kill(pid, SIGKILL);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        return std::chrono::steady_clock::now() - start;
    }
};

TEST_P(InterruptedWrites, FileIsOldOrNewAndReadsBack) {
    if (std::string(c.name) == "Settings") {
        // Lines added by hand are kept, and make the write long enough to cut.
        std::string notes;
        for (int i = 0; i < 1000; ++i) notes += "; note " + std::to_string(i) + "\r\n";
        dir.writeBytes(c.file, notes);
    }
    std::string text[2];
    c.write(s, 1);
    text[1] = fixture::ReadAll(file(c));
    c.write(s, 0);
    text[0] = fixture::ReadAll(file(c));
    ASSERT_NE(text[0], text[1]);

    // A whole write, from fork to exit, sets the range of the kill times.
    std::chrono::nanoseconds whole{0};
    for (int v : {1, 0}) whole = std::max(whole, writeInChild(v, std::chrono::nanoseconds(-1)));
    std::mt19937 gen(12345);
    std::uniform_int_distribution<long long> when(0, whole.count());

    int now = 0, kept = 0, midWrite = 0;
    const int n = Iterations();
    for (int i = 0; i < n; ++i) {
        writeInChild(1 - now, std::chrono::nanoseconds(when(gen)));
        const std::string after = fixture::ReadAll(file(c));
        ASSERT_TRUE(after == text[0] || after == text[1]) << "kill " << i;
        kept += after == text[now];
        now = after == text[1] ? 1 : 0;
        ASSERT_EQ(c.readBack(s), now) << "kill " << i;
        const int left = litter();
        ASSERT_LE(left, 1) << "kill " << i;
        midWrite += left;
    }
    ASSERT_TRUE(sink.seen.empty());
    c.write(s, 1 - now);
    EXPECT_EQ(litter(), 0);
    std::cout << c.name << ": " << n << " kills, " << kept << " kept the old file, " << midWrite
              << " of them cut a write in the middle\n";
}

INSTANTIATE_TEST_SUITE_P(Both, InterruptedWrites, ::testing::ValuesIn(kUserFiles), UserFileName);

}  // namespace
}  // namespace zb
#endif
