#include "platform/linux/SystemAlert.h"

#include "ChildXServer.h"
#include "ScopedEnvironment.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sys/stat.h>

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

} // namespace
