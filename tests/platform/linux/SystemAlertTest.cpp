#include "platform/linux/SystemAlert.h"

#include "ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <chrono>

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
    EXPECT_NE(log.find("Unhandled Exception\nFunction: f\nFile: a.cpp\n\nno \xc3\xa1 level\n"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("Level missing"), std::string::npos) << log;
}

} // namespace
