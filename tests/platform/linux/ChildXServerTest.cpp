#include "ChildXServer.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <string>
#include <thread>

namespace
{

// An interrupted test run (a time-out, Ctrl+C, a crash) must not leave its X server behind.
TEST(ChildXServerTest, TheServerEndsWithTheProcessThatStartedIt)
{
    if (access("/usr/bin/Xvfb", X_OK) != 0)
        GTEST_SKIP() << "no /usr/bin/Xvfb";
    TempFolder folder;
    const std::string pidFile = folder.Path("server.pid");
    // Orphans come to this process, so the server can be waited for like a child.
    ASSERT_EQ(prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    // Forked without exec, so the child writes where this process reads.
    GTEST_FLAG_SET(death_test_style, "fast");
    EXPECT_EXIT(
        {
            ChildXServer server;
            std::string reason;
            if (!server.Start("640x480x24", &reason))
                _exit(3);
            std::ofstream(pidFile) << server.GetPid() << '\n';
            raise(SIGKILL); // no destructor runs
        },
        ::testing::KilledBySignal(SIGKILL), "");

    pid_t server = -1;
    std::ifstream(pidFile) >> server;
    ASSERT_GT(server, 0) << "the server did not start";
    bool ended = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!ended && std::chrono::steady_clock::now() < deadline)
    {
        int status = 0;
        ended = waitpid(server, &status, WNOHANG) == server;
        if (!ended)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    prctl(PR_SET_CHILD_SUBREAPER, 0);
    EXPECT_TRUE(ended) << "the X server outlived the test process";
    if (!ended)
    {
        kill(server, SIGKILL);
        waitpid(server, nullptr, 0);
    }
}

// The server can take a SIGTERM just before it sleeps and sleep on for minutes: stopping it must not
// wait for that. The stand-in takes its first SIGTERM and sleeps on; only another one ends it.
TEST(ChildXServerTest, AServerThatSleptThroughItsSIGTERMStillEnds)
{
    sigset_t terms;
    sigemptyset(&terms);
    sigaddset(&terms, SIGTERM);
    // Blocked before the fork, so no SIGTERM ends the stand-in before it waits for one.
    sigset_t kept;
    ASSERT_EQ(pthread_sigmask(SIG_BLOCK, &terms, &kept), 0);
    const pid_t sleeper = fork();
    if (sleeper == 0)
    {
        const timespec limit{30, 0};
        for (int taken = 0; taken < 2; ++taken)
            if (sigtimedwait(&terms, nullptr, &limit) != SIGTERM)
                _exit(3); // nobody woke it
        _exit(0);
    }
    pthread_sigmask(SIG_SETMASK, &kept, nullptr);
    ASSERT_GT(sleeper, 0);
    const int status = EndXServerProcess(sleeper);
    ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "only one SIGTERM came";
    EXPECT_EQ(waitpid(sleeper, nullptr, WNOHANG), -1) << "not reaped";
}

} // namespace
