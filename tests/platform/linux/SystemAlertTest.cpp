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
            unsetenv("SDL_VIDEODRIVER");
            // The locale SDL's own box reads its font in.
            setenv("LC_ALL", "C.UTF-8", 1);
            int code = 0;
            const std::string helperFirst = std::string(DIALOG_HELPER_DIR) + ":" + std::getenv("PATH");
            setenv("PATH", helperFirst.c_str(), 1);
            for (const bool fontGiven : {true, false})
            {
                TempFolder fonts;
                ChildXServer server;
                if (fontGiven)
                    server.GiveBuiltInFontToMessageBoxes(fonts.Path());
                std::string reason;
                if (!server.Start("640x480x24", &reason, false))
                    _exit(2);
                // The watcher is a process of its own, made while this one has no other thread: a thread
                // in Xlib or malloc as SDL forks the box could leave the box's process stuck on its lock.
                const pid_t game = getpid();
                const pid_t watcher = fork();
                if (watcher == 0)
                {
                    Display* display = XOpenDisplay(nullptr);
                    // The box may go between the listing of windows and the reading of a name.
                    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
                    const bool shown = display != nullptr &&
                                       Strata::Testing::WaitUntil([&] { return IsShown(display, "Level missing"); },
                                                                  std::chrono::seconds(30));
                    if (shown)
                        kill(game, SIGTERM);
                    _exit(shown ? 0 : 1);
                }
                if (watcher < 0 || SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
                    _exit(2);
                Linux::NoteDisplayReached();
                alarm(60); // a box that stays ends the run instead
                Strata::Platform::ModalNotification(L"Level 3 of the game is missing.", L"Level missing");
                int watched = 0;
                while (waitpid(watcher, &watched, 0) < 0 && errno == EINTR)
                {
                }
                if (!WIFEXITED(watched) || WEXITSTATUS(watched) != 0)
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

} // namespace
