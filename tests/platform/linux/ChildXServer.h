#pragma once

#include "ScopedEnvironment.h"

#include <chrono>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

// An X server of our own with a chosen screen size; DISPLAY points at it while it runs.
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
        const std::string fd = std::to_string(pipeEnds[1]);
        const int quiet = open("/dev/null", O_WRONLY | O_CLOEXEC);
        mPid = fork();
        if (mPid == 0)
        {
            // Only async-signal-safe calls before exec.
            close(pipeEnds[0]);
            if (quiet >= 0)
            {
                dup2(quiet, STDOUT_FILENO);
                dup2(quiet, STDERR_FILENO);
            }
            // -displayfd: the server picks a free display number and writes it to us.
            execl("/usr/bin/Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(),
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
        return true;
    }

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
