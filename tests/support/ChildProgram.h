#pragma once

#include "core/Singleton.h"

#include <X11/Xlib.h>

#include <csignal>
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

} // namespace Strata::Testing
