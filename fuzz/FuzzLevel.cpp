// Linked into every level target: their run limits unless the command line sets its own. A run plays a
// level for well under 100 ms, so one of seconds is a hang; the data loaded once takes a few hundred MB.

#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static std::vector<char*> args;
    static char timeout[] = "-timeout=10";
    static char memory[] = "-rss_limit_mb=2048";
    args.assign(*argv, *argv + *argc);
    // Flags read later win, so the defaults go right after the program's name.
    args.insert(args.begin() + 1, {timeout, memory});
    args.push_back(nullptr);
    *argc = static_cast<int>(args.size()) - 1;
    *argv = args.data();
    return 0;
}
