#include "platform/linux/SystemAlert.h"

#include "core/Log.h"
#include "core/WideString.h"
#include "platform/linux/FrameViewport.h"

#include <SDL.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <pthread.h>
#include <strings.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace Linux
{

namespace
{

std::string ToUTF8(const std::wstring& text)
{
    const auto bytes = Strata::ConvertStringWideToUTF8(text.c_str());
    return bytes ? std::string(reinterpret_cast<const char*>(bytes.get())) : std::string();
}

bool IsSet(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
}

// Set once SDL's video ran on a display in this process.
std::atomic<bool> gDisplayReached{false};

bool IsScreenlessDriver(const char* driver)
{
    return driver != nullptr && (strcasecmp(driver, "dummy") == 0 || strcasecmp(driver, "offscreen") == 0);
}

// SDL's video on a driver with a screen: running already, or started now (then `startedHere`).
bool StartVideoOnAScreen(bool* startedHere)
{
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0)
    {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
            return false;
        *startedHere = true;
    }
    if (!IsScreenlessDriver(SDL_GetCurrentVideoDriver()))
        return true;
    if (*startedHere)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    *startedHere = false;
    return false;
}

// SDL shows a box in a process of its own (forked for X11, zenity for Wayland) and waits for it with no
// way out: its own SIGTERM and SIGINT handlers only queue a quit that nobody reads meanwhile, so a
// signal would not end the program until someone clicked. While a box is up, these signals end the
// box's process; SDL's handler still runs, so the game then quits as a signal makes it quit at any
// other time, and a program that would have died of the signal still dies of it.
//
// The box's process tells its number through memory shared across the fork. Either it sees that a
// signal came first and ends at once, or the handler sees its number and ends it.
struct sBoxWatch
{
    std::atomic<pid_t> child{0};
    std::atomic<bool> signalled{false};
};
static_assert(std::atomic<pid_t>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
              "the signal handler and the box's process need lock-free atomics");

sBoxWatch* gBoxWatch = nullptr; // shared with the box's process; made once, never unmapped
pthread_t gBoxThread{};         // the thread waiting for the box, which forks its process
// Whether a box is up, in this process's own memory: a child sees it as it was at the fork. A child
// forked before the box that runs only once it is up (on a busy machine) must not take the box's place.
std::atomic<bool> gBoxOpen{false};
constexpr int kBoxSignals[] = {SIGTERM, SIGINT};
struct sigaction gBoxKeptActions[2];
std::mutex gBoxMutex;

// Runs in the child of any fork: only async-signal-safe calls.
void OnForkInChild()
{
    sBoxWatch* watch = gBoxWatch;
    if (watch == nullptr || !gBoxOpen.load() || !pthread_equal(pthread_self(), gBoxThread))
        return;
    // The box never outlives the program, even one killed outright.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    watch->child.store(getpid());
    // SDL reads 129 as a box that failed, whether it forked its own or starts zenity: less than 128 would
    // read as zenity's answer.
    if (watch->signalled.load())
        _exit(129);
}

// Async-signal-safe: atomics, kill, and the handler this one stands in front of.
void OnSignalDuringBox(int number, siginfo_t* info, void* context)
{
    const int savedErrno = errno;
    if (sBoxWatch* watch = gBoxWatch)
    {
        watch->signalled.store(true);
        // SIGKILL: the forked box keeps SDL's handler, which only queues a quit.
        if (const pid_t child = watch->child.load(); child > 0)
            kill(child, SIGKILL);
    }
    const struct sigaction& kept = gBoxKeptActions[number == SIGTERM ? 0 : 1];
    if ((kept.sa_flags & SA_SIGINFO) != 0)
        kept.sa_sigaction(number, info, context);
    else if (kept.sa_handler != SIG_DFL && kept.sa_handler != SIG_IGN)
        kept.sa_handler(number);
    else if (kept.sa_handler == SIG_DFL)
    {
        // The signal would have ended the program: it still does, the box gone first.
        std::signal(number, SIG_DFL);
        raise(number);
    }
    errno = savedErrno;
}

// While it lives, SIGTERM and SIGINT end a box shown from this thread (see sBoxWatch).
class BoxSignalWatch
{
public:
    BoxSignalWatch()
    {
        static const bool prepared = []
        {
            void* shared = mmap(nullptr, sizeof(sBoxWatch), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
            if (shared == MAP_FAILED)
                return false;
            gBoxWatch = new (shared) sBoxWatch();
            return pthread_atfork(nullptr, nullptr, &OnForkInChild) == 0;
        }();
        if (!prepared)
            return;
        gBoxThread = pthread_self();
        gBoxWatch->child.store(0);
        gBoxWatch->signalled.store(false);
        gBoxOpen.store(true);
        for (int i = 0; i < 2; ++i)
        {
            struct sigaction action = {};
            action.sa_sigaction = &OnSignalDuringBox;
            action.sa_flags = SA_SIGINFO | SA_RESTART;
            sigemptyset(&action.sa_mask);
            sigaction(kBoxSignals[i], nullptr, &gBoxKeptActions[i]);
            // An ignored signal stays ignored (a program started in the background ignores SIGINT).
            mInstalled[i] =
                gBoxKeptActions[i].sa_handler != SIG_IGN && sigaction(kBoxSignals[i], &action, nullptr) == 0;
        }
    }
    ~BoxSignalWatch()
    {
        for (int i = 0; i < 2; ++i)
            if (mInstalled[i])
                sigaction(kBoxSignals[i], &gBoxKeptActions[i], nullptr);
        if (gBoxWatch != nullptr)
        {
            gBoxOpen.store(false);
            gBoxWatch->child.store(0);
        }
    }
    BoxSignalWatch(const BoxSignalWatch&) = delete;
    BoxSignalWatch& operator=(const BoxSignalWatch&) = delete;

    // A signal came while the box was up, or before it (SDL's own handler queued its quit).
    bool Signalled() const
    {
        if (gBoxWatch != nullptr && gBoxWatch->signalled.load())
            return true;
        SDL_PumpEvents();
        return SDL_HasEvent(SDL_QUIT) == SDL_TRUE;
    }

private:
    bool mInstalled[2] = {false, false};
};

} // namespace

bool CanShowMessageBox()
{
    if (IsScreenlessDriver(std::getenv("SDL_VIDEODRIVER")))
        return false;
    return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY");
}

void NoteDisplayReached()
{
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0 && !IsScreenlessDriver(SDL_GetCurrentVideoDriver()))
        gDisplayReached = true;
}

namespace
{

// The box on the display SDL's video runs on, started for it when needed; false when not shown.
bool ShowMessageBox(const std::string& title, const std::string& message, const std::wstring& button)
{
    bool startedHere = false;
    if (!CanShowMessageBox() || !StartVideoOnAScreen(&startedHere))
        return false;
    const std::string buttonText = ToUTF8(button.empty() ? std::wstring(L"OK") : button);
    SDL_MessageBoxButtonData buttons[1] = {};
    buttons[0].flags = SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    buttons[0].buttonid = 0;
    buttons[0].text = buttonText.c_str();

    SDL_MessageBoxData data = {};
    data.flags = SDL_MESSAGEBOX_WARNING;
    data.window = GetMainWindow();
    data.title = title.c_str();
    data.message = message.c_str();
    data.numbuttons = 1;
    data.buttons = buttons;
    int pressed = -1;
    bool shown = false;
    {
        std::lock_guard<std::mutex> oneBox(gBoxMutex);
        BoxSignalWatch watch;
        // A signal that came before the watch began has queued SDL's quit: the program is ending.
        if (!watch.Signalled())
        {
            shown = SDL_ShowMessageBox(&data, &pressed) == 0;
            if (!shown && !watch.Signalled())
                Strata::Internal::LogWrite("Could not show a message box: %s\n", SDL_GetError());
        }
    }
    if (startedHere)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return shown;
}

} // namespace

void ShowSystemAlert(const std::wstring& title, const std::wstring& message, const std::wstring& button)
{
    const std::string titleText = ToUTF8(title);
    const std::string messageText = ToUTF8(message);
    if (gDisplayReached && ShowMessageBox(titleText, messageText, button))
        return;
    Strata::Internal::LogWrite("%s\n%s\n", titleText.c_str(), messageText.c_str());
}

bool ShowStartupAlert(const std::wstring& title, const std::wstring& message, const std::wstring& button)
{
    return ShowMessageBox(ToUTF8(title), ToUTF8(message), button);
}

} // namespace Linux

namespace Strata::Platform
{

void ModalNotification(const std::wstring& message, const std::wstring& header)
{
    Linux::ShowSystemAlert(header, message, L"OK");
}

} // namespace Strata::Platform
