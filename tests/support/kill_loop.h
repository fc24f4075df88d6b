#pragma once
// The crash tests' loop: a child process works on the files forever and is killed with SIGKILL
// at a random moment, round after round; after each kill the files must be whole. And a child
// process that runs to its end.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <random>
#include <thread>

namespace vorsa::test {

/// Runs `body` in a child process; Succeeded() waits for it and tells whether it returned true.
inline pid_t InChild(const std::function<bool()>& body) {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(body() ? 0 : 1);
    return child;
}

inline bool Succeeded(pid_t child) {
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

/// Runs `rounds` rounds: forks a child that runs `work(round)` (which never returns), kills it
/// after a pause drawn from [minMs, maxMs] with a fixed seed, then calls `check(round)`. Stops at
/// the first failure, so one broken file is reported once. On a loaded machine a child may be
/// killed every time before it wrote anything: while `progressed()` says so, up to `rounds`
/// more rounds run with four times the pause, so the test does not end having proved nothing.
template <class Work, class Check, class Progress>
void KillLoop(int rounds, int minMs, int maxMs, Work work, Check check, Progress progressed) {
    std::mt19937 rng(20261207);
    std::uniform_int_distribution<int> pause(minMs, maxMs);
    for (int round = 0; round < rounds || (round < 2 * rounds && !progressed()); ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            work(round);
            _exit(0);
        }
        const int ms = pause(rng) * (round < rounds ? 1 : 4);
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "round " << round << ": the child ended by itself";
        check(round);
        if (::testing::Test::HasFailure()) return;
    }
}

template <class Work, class Check>
void KillLoop(int rounds, int minMs, int maxMs, Work work, Check check) {
    KillLoop(rounds, minMs, maxMs, work, check, [] { return true; });
}

}  // namespace vorsa::test
