// Tests that enter a game's mode outside the main loop never exit it, so the window may still hold the
// cursor picture of resources that test has since freed; with the whole program run in one process the
// next test to draw would read it. Each test starts with no picture, as a fresh program does.

#include "graphics/Window.h"

#include <gtest/gtest.h>

namespace
{

class FreshCursorEachTest : public ::testing::EmptyTestEventListener
{
    void OnTestStart(const ::testing::TestInfo&) override { Strata::Window::SetCustomCursor(nullptr, {}); }
};

[[maybe_unused]] const bool kInstalled = []
{
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshCursorEachTest);
    return true;
}();

} // namespace
