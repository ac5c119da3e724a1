// Preloaded into the game by its end-to-end test: opening the file named by MENAGERIE_GATE_FILE waits
// while the path MENAGERIE_GATE_HOLD exists (at most a minute), so the test can see the loading
// screen part-way through without any hook in the game itself.

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace
{

void WaitAtGate(const char* path)
{
    const char* gate = std::getenv("MENAGERIE_GATE_FILE");
    const char* hold = std::getenv("MENAGERIE_GATE_HOLD");
    if (path == nullptr || gate == nullptr || hold == nullptr)
        return;
    const char* slash = std::strrchr(path, '/');
    if (std::strcmp(slash != nullptr ? slash + 1 : path, gate) != 0)
        return;
    const timespec step{0, 5 * 1000 * 1000};
    for (int i = 0; i < 12000 && ::access(hold, F_OK) == 0; ++i)
        ::nanosleep(&step, nullptr);
}

using OpenFunction = int (*)(const char*, int, ...);

int OpenThrough(const char* symbol, const char* path, int flags, mode_t mode)
{
    WaitAtGate(path);
    static OpenFunction realOpen = reinterpret_cast<OpenFunction>(::dlsym(RTLD_NEXT, "open"));
    static OpenFunction realOpen64 = reinterpret_cast<OpenFunction>(::dlsym(RTLD_NEXT, "open64"));
    OpenFunction real = std::strcmp(symbol, "open64") == 0 && realOpen64 != nullptr ? realOpen64 : realOpen;
    return real(path, flags, mode);
}

mode_t ModeArgument(int flags, va_list arguments)
{
    return (flags & (O_CREAT | O_TMPFILE)) != 0 ? static_cast<mode_t>(va_arg(arguments, int)) : 0;
}

} // namespace

extern "C" int open(const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = ModeArgument(flags, arguments);
    va_end(arguments);
    return OpenThrough("open", path, flags, mode);
}

extern "C" int open64(const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = ModeArgument(flags, arguments);
    va_end(arguments);
    return OpenThrough("open64", path, flags, mode);
}
