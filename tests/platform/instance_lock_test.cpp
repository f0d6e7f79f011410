#include "platform/instance_lock.h"

#include <gtest/gtest.h>

#include <filesystem>
#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "fixtures/pat98_writer.h"

namespace zb {
namespace {

using State = InstanceLock::State;

TEST(InstanceLock, OneHolderPerFolder) {
    fixture::TempDir t;
    fixture::TempDir other;
    auto first = InstanceLock::Take(t.path());
    ASSERT_EQ(first->state(), State::kTaken);
    EXPECT_EQ(InstanceLock::Take(other.path())->state(), State::kTaken);
    auto second = InstanceLock::Take(t.path());
    ASSERT_EQ(second->state(), State::kHeld);
    first.reset();
    EXPECT_EQ(InstanceLock::Take(t.path())->state(), State::kTaken);
    // No folder to put the lock in: the program runs unguarded.
    EXPECT_EQ(InstanceLock::Take(t.path() + "/missing")->state(), State::kUnguarded);
}

// A folder in the lock file's place stops its creation even for root, as a
// folder the user may not write to does.
TEST(InstanceLock, AFolderWithoutALockFileLocksInTheUsersPlace) {
    fixture::TempDir t, other, user;
    for (auto* d : {&t, &other}) std::filesystem::create_directory(d->path() + "/Zubrica98.lock");
    auto first = InstanceLock::Take(t.path(), user.path());
    ASSERT_EQ(first->state(), State::kTaken);
    EXPECT_EQ(first->path().rfind(user.path(), 0), 0u) << first->path();
    auto second = InstanceLock::Take(t.path() + "/.", user.path());
    EXPECT_EQ(second->state(), State::kHeld);
    EXPECT_TRUE(second->AskHolderToShow());
    EXPECT_EQ(InstanceLock::Take(other.path(), user.path())->state(), State::kTaken);
    EXPECT_EQ(InstanceLock::Take(t.path(), user.path() + "/missing")->state(), State::kUnguarded);
}

TEST(InstanceLock, AKilledHolderDoesNotBlockTheNextStart) {
#ifdef _WIN32
    GTEST_SKIP() << "fork and SIGKILL are POSIX";
#else
    fixture::TempDir t;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        auto lock = InstanceLock::Take(t.path());
        const char held = lock->state() == State::kTaken ? 'y' : 'n';
        (void)!::write(ready[1], &held, 1);
        ::pause();
        ::_exit(0);
    }
    char held = 0;
    ASSERT_EQ(::read(ready[0], &held, 1), 1);
    EXPECT_EQ(held, 'y');
    EXPECT_EQ(InstanceLock::Take(t.path())->state(), State::kHeld);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_EQ(InstanceLock::Take(t.path())->state(), State::kTaken);
    ::close(ready[0]);
    ::close(ready[1]);
#endif
}

}  // namespace
}  // namespace zb
