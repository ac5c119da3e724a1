#pragma once

#include "KeepGLDriver.h"
#include "ScopedEnvironment.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/prctl.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <thread>
#include <time.h>
#include <unistd.h>
#include <vector>

// Ends the X server `pid`, a child of this process, as SIGTERM ends it, and reaps it; returns its wait
// status. The server looks for a SIGTERM just before it sleeps, and one taken between that look and the
// sleep is acted on only when something next wakes it: on an idle server, its screen saver's timer ten
// minutes on. So SIGTERM is sent again until the server has ended, each one waking it; a server still
// running after 20 seconds is killed.
inline int EndXServerProcess(pid_t pid)
{
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline)
    {
        kill(pid, SIGTERM);
        for (int i = 0; i < 100; ++i)
        {
            const pid_t reaped = waitpid(pid, &status, WNOHANG);
            if (reaped == pid || (reaped < 0 && errno != EINTR))
                return status;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    kill(pid, SIGKILL);
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR)
    {
    }
    return status;
}

// An X server of our own with a chosen screen size; DISPLAY points at it while it runs. The server
// ends with the process that started it, even when that process is killed.
class ChildXServer
{
public:
    // False, with the reason, when the server cannot be started. `keepGLDriver` loads the display's OpenGL
    // driver for good once it is up, as a test checked for leaks needs; a benchmark of the software canvas
    // leaves it unloaded, as the game does.
    bool Start(const std::string& screen, std::string* reason, bool keepGLDriver = true)
    {
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0)
        {
            *reason = "pipe failed";
            return false;
        }
        // -displayfd: the server picks a free display number and writes it to us once it is ready.
        const bool launched = Launch(screen, nullptr, 0, pipeEnds[1], reason);
        close(pipeEnds[1]);
        if (!launched)
        {
            close(pipeEnds[0]);
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
        if (keepGLDriver)
            KeepGLDriverLoaded();
        return true;
    }

    // A server that starts `delayMS` milliseconds from now on a free display number, which DISPLAY
    // names at once: a display that exists but is not ready yet. False, with the reason, when there is
    // no Xvfb or no free number.
    bool StartLate(unsigned delayMS, const std::string& screen, std::string* reason)
    {
        for (int attempt = 0; attempt < 200; ++attempt)
        {
            const std::string number = std::to_string(400 + (getpid() + attempt) % 500);
            if (access(("/tmp/.X11-unix/X" + number).c_str(), F_OK) == 0 ||
                access(("/tmp/.X" + number + "-lock").c_str(), F_OK) == 0)
                continue;
            const std::string display = ":" + number;
            if (!Launch(screen, display.c_str(), delayMS, -1, reason))
                return false;
            mDisplay = std::make_unique<ScopedEnvironment>("DISPLAY", display.c_str());
            return true;
        }
        *reason = "no free display number";
        return false;
    }

    // The server's font path (its -fp argument) for the next start; empty for its default.
    void SetFontPath(const std::string& fontPath) { mFontPath = fontPath; }

    // SDL's own message box asks for a font a bare server lacks: the next start has a font folder in
    // `folder` whose alias gives the server's built-in font that name.
    void GiveBuiltInFontToMessageBoxes(const std::string& folder)
    {
        std::ofstream(folder + "/fonts.dir") << "0\n";
        std::ofstream(folder + "/fonts.alias")
            << "-misc-fixed-medium-r-normal--13-120-75-75-c-60-iso8859-1 "
               "\"-misc-fixed-medium-r-semicondensed--13-120-75-75-c-60-iso8859-1\"\n";
        SetFontPath("built-ins," + folder);
    }

    // The server's process; -1 when none runs.
    pid_t GetPid() const { return mPid; }

    ~ChildXServer() { Stop(); }

    // Ends the server (after every client is gone) and puts DISPLAY back.
    void Stop()
    {
        mDisplay.reset();
        if (mPid > 0)
            EndXServerProcess(mPid);
        mPid = -1;
    }

private:
    // Forks the server: on `display` (or one it picks and writes to `notify`), after `delayMS`.
    bool Launch(const std::string& screen, const char* display, unsigned delayMS, int notify, std::string* reason)
    {
        if (access("/usr/bin/Xvfb", X_OK) != 0)
        {
            *reason = "no /usr/bin/Xvfb";
            return false;
        }
        // -noreset: a server resets when its last client leaves and refuses connections meanwhile; a
        // test that closes its display and opens it again must not meet that.
        std::vector<const char*> arguments{"Xvfb"};
        if (notify >= 0)
        {
            arguments.push_back("-displayfd");
            arguments.push_back("3");
        }
        else
            arguments.push_back(display);
        for (const char* argument : {"-noreset", "-screen", "0", screen.c_str(), "-nolisten", "tcp"})
            arguments.push_back(argument);
        if (!mFontPath.empty())
        {
            arguments.push_back("-fp");
            arguments.push_back(mFontPath.c_str());
        }
        arguments.push_back(nullptr);
        const int quiet = open("/dev/null", O_WRONLY | O_CLOEXEC);
        const pid_t parent = getpid();
        const timespec delay{static_cast<time_t>(delayMS / 1000), static_cast<long>(delayMS % 1000) * 1000000L};
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
            if (notify >= 0 && dup2(notify, 3) != 3)
                _exit(126);
            close_range(notify >= 0 ? 4 : 3, ~0u, 0);
            if (delayMS > 0)
                nanosleep(&delay, nullptr);
            execv("/usr/bin/Xvfb", const_cast<char* const*>(arguments.data()));
            _exit(127);
        }
        if (quiet >= 0)
            close(quiet);
        if (mPid < 0)
        {
            *reason = "fork failed";
            return false;
        }
        return true;
    }

    pid_t mPid = -1;
    std::string mFontPath;
    std::unique_ptr<ScopedEnvironment> mDisplay;
};
