#pragma once

#include "core/Singleton.h"

#include <X11/Xlib.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/types.h>
#include <sys/wait.h>

namespace Strata::Testing
{

// The tear-down of a test that runs a program of its own under a private X server: the program (when
// `pid` is positive) is killed and reaped, so no process outlives the test, then the test's own
// connection closes, before its server ends, and last the engine singletons the test made go. Leaves
// `pid` at -1 and `display` null.
inline void EndChildProgram(pid_t& pid, Display*& display)
{
    if (pid > 0)
    {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        pid = -1;
    }
    if (display != nullptr)
        XCloseDisplay(display);
    display = nullptr;
    Strata::Internal::DeleteAllSingletons();
}

// The fields of /proc/<pid>/stat after the program's name, which may hold spaces and parentheses;
// empty when the process has gone.
inline std::string ProcessStatus(pid_t pid)
{
    std::string line;
    std::getline(std::ifstream("/proc/" + std::to_string(pid) + "/stat"), line);
    const size_t nameEnd = line.rfind(')');
    return nameEnd != std::string::npos && nameEnd + 2 < line.size() ? line.substr(nameEnd + 2) : std::string();
}

// The state of process `pid` ('S' asleep, 'T' stopped, 'Z' ended but not reaped...); 0 when it has gone.
inline char ProcessState(pid_t pid)
{
    const std::string status = ProcessStatus(pid);
    return status.empty() ? 0 : status[0];
}

// Whether process `pid` has ended, reaped or not.
inline bool HasProcessEnded(pid_t pid)
{
    const char state = ProcessState(pid);
    return state == 0 || state == 'Z' || state == 'X';
}

// The signals pending for process `pid`, for its first thread or for all of it: bit n - 1 for signal n.
inline unsigned long long PendingSignals(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    unsigned long long pending = 0;
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("SigPnd:") || line.starts_with("ShdPnd:"))
            pending |= std::stoull(line.substr(7), nullptr, 16);
    return pending;
}

// Whether process `pid` runs with no signal pending that would end it (SIGKILL, SIGTERM, SIGINT).
inline bool LivesOn(pid_t pid)
{
    constexpr unsigned long long kEnding = (1ull << (SIGKILL - 1)) | (1ull << (SIGTERM - 1)) | (1ull << (SIGINT - 1));
    return !HasProcessEnded(pid) && (PendingSignals(pid) & kEnding) == 0;
}

// Whether process `pid`, single-threaded, has dealt with `signal` sent to it: it has ended, or the signal
// is no longer pending and the process sleeps again, as no handler does. (A process resumes its own
// code only after every signal pending is dealt with, so stopping it proves nothing.) The pending
// signals are read first: a process asleep after that has finished any handler.
inline bool HasDealtWith(pid_t pid, int signal)
{
    const bool pending = (PendingSignals(pid) & (1ull << (signal - 1))) != 0;
    const char state = ProcessState(pid);
    return HasProcessEnded(pid) || (!pending && state == 'S');
}

// The first process found whose parent is `parent`; -1 when it has none.
inline pid_t FindChildProcess(pid_t parent)
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error))
    {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        const pid_t pid = static_cast<pid_t>(std::stol(name));
        // After the state comes the parent's number.
        const std::string status = ProcessStatus(pid);
        if (status.size() > 2 && std::atol(status.c_str() + 2) == parent)
            return pid;
    }
    return -1;
}

} // namespace Strata::Testing
