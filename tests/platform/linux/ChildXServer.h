#pragma once

#include "KeepGLDriver.h"
#include "ScopedEnvironment.h"

#include <chrono>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/prctl.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

// An X server of our own with a chosen screen size; DISPLAY points at it while it runs. The server
// ends with the process that started it, even when that process is killed.
class ChildXServer
{
  public:
    // False, with the reason, when the server cannot be started.
    bool Start(const std::string& screen, std::string* reason)
    {
        if (access("/usr/bin/Xvfb", X_OK) != 0)
        {
            *reason = "no /usr/bin/Xvfb";
            return false;
        }
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0)
        {
            *reason = "pipe failed";
            return false;
        }
        const int quiet = open("/dev/null", O_WRONLY | O_CLOEXEC);
        const pid_t parent = getpid();
        mPid = fork();
        if (mPid == 0)
        {
            // Only async-signal-safe calls before exec. The parent may have died before the signal was
            // asked for: then nobody would stop the server.
            if (prctl(PR_SET_PDEATHSIG, SIGTERM) != 0 || getppid() != parent)
                _exit(126);
            if (quiet >= 0)
            {
                dup2(quiet, STDOUT_FILENO);
                dup2(quiet, STDERR_FILENO);
            }
            // The server keeps none of the test's files open (a test waiting for a pipe's end would
            // wait for the server too); descriptor 3 is the write end of our pipe.
            if (dup2(pipeEnds[1], 3) != 3)
                _exit(126);
            close_range(4, ~0u, 0);
            // -displayfd: the server picks a free display number and writes it to us. -noreset: a
            // server resets when its last client leaves and refuses connections meanwhile; a test
            // that closes its display and opens it again must not meet that.
            execl("/usr/bin/Xvfb", "Xvfb", "-displayfd", "3", "-noreset", "-screen", "0", screen.c_str(),
                  "-nolisten", "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(pipeEnds[1]);
        if (quiet >= 0)
            close(quiet);
        if (mPid < 0)
        {
            close(pipeEnds[0]);
            *reason = "fork failed";
            return false;
        }
        std::string number;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (number.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline)
        {
            pollfd wait{pipeEnds[0], POLLIN, 0};
            if (poll(&wait, 1, 200) <= 0)
                continue;
            char buffer[16];
            const ssize_t got = read(pipeEnds[0], buffer, sizeof(buffer));
            if (got <= 0)
                break; // the server ended without a display
            number.append(buffer, static_cast<size_t>(got));
        }
        close(pipeEnds[0]);
        if (number.find('\n') == std::string::npos)
        {
            *reason = "Xvfb did not start";
            return false;
        }
        number.resize(number.find('\n'));
        mDisplay = std::make_unique<ScopedEnvironment>("DISPLAY", (":" + number).c_str());
        KeepGLDriverLoaded();
        return true;
    }

    // The server's process; -1 when none runs.
    pid_t GetPid() const { return mPid; }

    ~ChildXServer() { Stop(); }

    // Ends the server (after every client is gone) and puts DISPLAY back.
    void Stop()
    {
        mDisplay.reset();
        if (mPid > 0)
        {
            kill(mPid, SIGTERM);
            int status = 0;
            waitpid(mPid, &status, 0);
            mPid = -1;
        }
    }

  private:
    pid_t mPid = -1;
    std::unique_ptr<ScopedEnvironment> mDisplay;
};
