#include "platform/linux/SystemAlert.h"

#include "ChildXServer.h"
#include "ScopedEnvironment.h"
#include "TempFolder.h"
#include "support/WaitUntil.h"

#include <SDL.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

// Without a display nobody could close a box: the alert must log and return at once.
TEST(SystemAlertTest, WithoutADisplayOnlyLogs)
{
    ScopedEnvironment display("DISPLAY", ":0");
    ScopedEnvironment wayland("WAYLAND_DISPLAY", nullptr);
    ScopedEnvironment driver("SDL_VIDEODRIVER", "dummy");
    EXPECT_FALSE(Linux::CanShowMessageBox()) << "the dummy driver has no screen";
    driver.Set("Offscreen");
    EXPECT_FALSE(Linux::CanShowMessageBox());
    driver.Set(nullptr);
    display.Set("");
    EXPECT_FALSE(Linux::CanShowMessageBox()) << "an empty DISPLAY names no display";
    display.Set(":5");
    EXPECT_TRUE(Linux::CanShowMessageBox());
    display.Set(nullptr);
    wayland.Set("wayland-0");
    EXPECT_TRUE(Linux::CanShowMessageBox());

    driver.Set("dummy");
    const auto start = std::chrono::steady_clock::now();
    ::testing::internal::CaptureStderr();
    Linux::ShowSystemAlert(L"Unhandled Exception", L"Function: f\nFile: a.cpp\n\nno \u00e1 level", L"Close");
    Strata::Platform::ModalNotification(L"Level missing", L"");
    const std::string log = ::testing::internal::GetCapturedStderr();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_NE(log.find("Unhandled Exception\nFunction: f\nFile: a.cpp\n\nno \xc3\xa1 level\n"), std::string::npos)
        << log;
    EXPECT_NE(log.find("Level missing"), std::string::npos) << log;
}

// A program that never reached a display (its window could not open) has nobody looking at a box,
// even when a display has come up since: it logs, and main ends with a failure.
TEST(SystemAlertTest, BeforeADisplayWasReachedOnlyLogsEvenWithAServerUp)
{
    if (access("/usr/bin/Xvfb", X_OK) != 0)
        GTEST_SKIP() << "no /usr/bin/Xvfb";
    // A fresh process, in which no display was reached yet.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            unsetenv("SDL_VIDEODRIVER");
            {
                // _exit skips destructors: the server and the folder end with this block.
                ChildXServer server;
                std::string reason;
                if (!server.Start("640x480x24", &reason))
                    _exit(2);
                // A box that waits for a click, as the desktop's dialog helper does when nobody answers.
                TempFolder bin;
                const std::string zenity = bin.Path("zenity");
                std::ofstream(zenity) << "#!/bin/sh\nexec sleep 20\n";
                chmod(zenity.c_str(), 0755);
                setenv("PATH", (bin.Path() + ":" + std::getenv("PATH")).c_str(), 1);
                alarm(10); // a box waiting for its click ends the run instead
                Linux::ShowSystemAlert(L"Unhandled Exception", L"Could not start SDL video", L"Close");
            }
            std::fflush(stderr);
            _exit(0);
        },
        ::testing::ExitedWithCode(0), "Unhandled Exception\nCould not start SDL video");
}

// Whether a top-level window titled `title` is shown on the display.
bool IsShown(Display* display, const std::string& title)
{
    ::Window root = 0, parent = 0;
    ::Window* children = nullptr;
    unsigned count = 0;
    bool shown = false;
    XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
    for (unsigned i = 0; i < count && !shown; ++i)
    {
        XTextProperty name{};
        XWindowAttributes attributes{};
        shown = XGetWMName(display, children[i], &name) != 0 && name.value != nullptr &&
                std::string(reinterpret_cast<const char*>(name.value), name.nitems) == title &&
                XGetWindowAttributes(display, children[i], &attributes) != 0 && attributes.map_state == IsViewable;
        XFree(name.value);
    }
    XFree(children);
    return shown;
}

// Boxes in a test's own process: SDL shows a box of its own where the display has the font it asks
// for, in the locale it reads its font in, else through the desktop's dialog helper (here its
// stand-in, first on the PATH).
void PrepareBoxes()
{
    unsetenv("SDL_VIDEODRIVER");
    setenv("LC_ALL", "C.UTF-8", 1);
    const std::string helperFirst = std::string(DIALOG_HELPER_DIR) + ":" + std::getenv("PATH");
    setenv("PATH", helperFirst.c_str(), 1);
}

// A process of its own that sends `signal` to this one once a box titled `title` is shown; it ends
// with 0 then, with 1 when none came within 30 seconds. To be made while this process has no other
// thread: a thread in Xlib or malloc as SDL forks the box could leave the box's process stuck on its
// lock.
pid_t WatchForBox(const char* title, int signal)
{
    const pid_t watched = getpid();
    const pid_t watcher = fork();
    if (watcher != 0)
        return watcher;
    Display* display = XOpenDisplay(nullptr);
    // The box may go between the listing of windows and the reading of a name.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    const bool shown = display != nullptr &&
                       Strata::Testing::WaitUntil([&] { return IsShown(display, title); }, std::chrono::seconds(30));
    if (shown)
        kill(watched, signal);
    _exit(shown ? 0 : 1);
}

// In a death test's child: starts `server`, a watcher that sends `signal` once a box "Level missing"
// shows, and SDL's video on that display; the child ends with 2 where any of it fails. A box that stays
// ends the run within a minute instead.
pid_t ShowBoxesOn(ChildXServer& server, int signal)
{
    std::string reason;
    if (!server.Start("640x480x24", &reason, false))
        _exit(2);
    const pid_t watcher = WatchForBox("Level missing", signal);
    if (watcher < 0 || SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        _exit(2);
    Linux::NoteDisplayReached();
    alarm(60);
    return watcher;
}

// Waits for the child `pid` to end; whether it exited with 0.
bool EndedWell(pid_t pid)
{
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR)
    {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A box shown during the game, where SDL's own handler turns a signal into its quit: the signal closes
// the box, its text goes to the log as unseen, and the quit waits for the game's loop, which then ends
// the game as a signal does at any other time. SDL shows a box of its own where the display has the
// font it asks for, else through the desktop's dialog helper (here its stand-in).
TEST(SystemAlertTest, ASignalClosesABoxAndTheGameStillGetsItsQuit)
{
    if (access("/usr/bin/Xvfb", X_OK) != 0)
        GTEST_SKIP() << "no /usr/bin/Xvfb";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            PrepareBoxes();
            int code = 0;
            for (const bool fontGiven : {true, false})
            {
                TempFolder fonts;
                ChildXServer server;
                if (fontGiven)
                    server.GiveBuiltInFontToMessageBoxes(fonts.Path());
                const pid_t watcher = ShowBoxesOn(server, SIGTERM);
                Strata::Platform::ModalNotification(L"Level 3 of the game is missing.", L"Level missing");
                if (!EndedWell(watcher))
                    code = fontGiven ? 5 : 6;
                SDL_PumpEvents();
                if (code == 0 && SDL_HasEvent(SDL_QUIT) != SDL_TRUE)
                    code = fontGiven ? 3 : 4;
                SDL_QuitSubSystem(SDL_INIT_VIDEO);
            }
            std::fflush(stderr);
            _exit(code);
        },
        ::testing::ExitedWithCode(0),
        "Level missing\nLevel 3 of the game is missing.\n(.|\n)*Level missing\nLevel 3 of the game is missing.");
}

// A signal that came after SDL's handler was in place but before a box opened has queued the game's
// quit: the program is ending, and no box holds it up, in the game or at its start.
TEST(SystemAlertTest, ASignalJustBeforeABoxKeepsItFromOpening)
{
    if (access("/usr/bin/Xvfb", X_OK) != 0)
        GTEST_SKIP() << "no /usr/bin/Xvfb";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            PrepareBoxes();
            int code = 0;
            {
                ChildXServer server;
                // A box would wait for a click: once shown, the run ends.
                const pid_t watcher = ShowBoxesOn(server, SIGKILL);
                raise(SIGTERM);
                Strata::Platform::ModalNotification(L"Level 3 of the game is missing.", L"Level missing");
                if (Linux::ShowStartupAlert(L"Level missing", L"The game's data was not found.", L"Quit"))
                    code = 3;
                SDL_PumpEvents();
                if (SDL_HasEvent(SDL_QUIT) != SDL_TRUE)
                    code = 4;
                kill(watcher, SIGKILL);
                EndedWell(watcher);
                SDL_QuitSubSystem(SDL_INIT_VIDEO);
            }
            std::fflush(stderr);
            _exit(code);
        },
        ::testing::ExitedWithCode(0), "Level missing\nLevel 3 of the game is missing.");
}

// With SDL's handlers off nothing turns SIGTERM into a quit: during a box it still ends the program, as
// it would at any other time, once the box is gone.
TEST(SystemAlertTest, WithSDLsHandlersOffASignalDuringABoxEndsTheProgram)
{
    if (access("/usr/bin/Xvfb", X_OK) != 0)
        GTEST_SKIP() << "no /usr/bin/Xvfb";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            PrepareBoxes();
            setenv("SDL_NO_SIGNAL_HANDLERS", "1", 1);
            // The server ends with this process, however it ends.
            ChildXServer server;
            ShowBoxesOn(server, SIGTERM);
            Strata::Platform::ModalNotification(L"Level 3 of the game is missing.", L"Level missing");
            _exit(3);
        },
        ::testing::KilledBySignal(SIGTERM), "");
}

} // namespace
