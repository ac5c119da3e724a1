// The game program as a user meets it on a machine without a graphics card: its help, its report of
// missing data, and a run on a bare X server (no window manager, Mesa's software OpenGL) from the
// full-screen title to a window destroyed by another program.

#include "ChildXServer.h"
#include "TempFolder.h"
#include "core/Color.h"
#include "core/FileSystem.h"
#include "core/Singleton.h"
#include "framework/Account.h"
#include "framework/AccountManager.h"
#include "graphics/ImageFiles.h"
#include "platform/linux/FileSystemPartition.h"
#include "platform/linux/FrameViewport.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

using Strata::Color32;
using namespace std::chrono_literals;

namespace
{

const std::string kProgram = MENAGERIE_BINARY;

class ProgramEndToEndTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        if (mPid > 0)
        {
            kill(mPid, SIGKILL);
            waitpid(mPid, nullptr, 0);
        }
        if (mDisplay != nullptr)
            XCloseDisplay(mDisplay);
        Strata::Internal::DeleteAllSingletons();
    }

    // Starts the program with the arguments, in a test environment changed by `environment` (a null
    // value removes a variable); its output goes to the log.
    void Launch(const std::vector<const char*>& arguments,
                const std::vector<std::pair<const char*, const char*>>& environment)
    {
        mPid = fork();
        ASSERT_GE(mPid, 0);
        if (mPid != 0)
            return;
        setenv("XDG_DATA_HOME", mHome.Path().c_str(), 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("ALSOFT_DRIVERS", "null", 1);
        setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent", 1);
        unsetenv("SDL_VIDEODRIVER");
        for (const auto& [name, value] : environment)
            value != nullptr ? setenv(name, value, 1) : unsetenv(name);
        const int out = open(mHome.Path("program.log").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, STDOUT_FILENO);
        dup2(out, STDERR_FILENO);
        std::vector<char*> argv{const_cast<char*>(kProgram.c_str())};
        for (const char* argument : arguments)
            argv.push_back(const_cast<char*>(argument));
        argv.push_back(nullptr);
        execv(kProgram.c_str(), argv.data());
        _exit(127);
    }

    // Waits for the program to end; its exit status, -1 when it has not ended within the time.
    int WaitForExit()
    {
        for (int i = 0; i < 1200 && mPid > 0; ++i)
        {
            int status = 0;
            if (waitpid(mPid, &status, WNOHANG) == mPid)
            {
                mPid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(50ms);
        }
        return -1;
    }

    std::string Log() const { return mHome.Get("program.log"); }

    // Polls `done` until it is true, the program ends or time runs out.
    bool WaitUntil(const char* what, const std::function<bool()>& done)
    {
        const auto deadline = std::chrono::steady_clock::now() + 90s;
        while (std::chrono::steady_clock::now() < deadline)
        {
            if (done())
                return true;
            if (waitpid(mPid, nullptr, WNOHANG) == mPid)
            {
                mPid = -1;
                ADD_FAILURE() << "the program ended before " << what << ":\n" << Log();
                return false;
            }
            std::this_thread::sleep_for(50ms);
        }
        ADD_FAILURE() << "no " << what << " within the time:\n" << Log();
        return false;
    }

    // The top-level window titled "Menagerie"; 0 when there is none.
    ::Window FindGameWindow() const
    {
        ::Window root = 0, parent = 0, found = 0;
        ::Window* children = nullptr;
        unsigned count = 0;
        if (XQueryTree(mDisplay, DefaultRootWindow(mDisplay), &root, &parent, &children, &count) == 0)
            return 0;
        for (unsigned i = 0; i < count && found == 0; ++i)
        {
            // SDL names its windows in UTF-8, which XFetchName does not read.
            XTextProperty name{};
            if (XGetWMName(mDisplay, children[i], &name) != 0 && name.value != nullptr)
                found = std::string(reinterpret_cast<const char*>(name.value), name.nitems) == "Menagerie" ? children[i]
                                                                                                           : 0;
            XFree(name.value);
        }
        XFree(children);
        return found;
    }

    // The screen's pixel, alpha 255.
    Color32 ScreenAt(XImage* image, int x, int y) const
    {
        const unsigned long value = XGetPixel(image, x, y);
        return Color32(static_cast<uint8_t>((value >> 16) & 0xff), static_cast<uint8_t>((value >> 8) & 0xff),
                       static_cast<uint8_t>(value & 0xff), 255);
    }

    TempFolder mHome;
    // The display closes in TearDown, before its server ends.
    ChildXServer mServer;
    Display* mDisplay = nullptr;
    pid_t mPid = -1;
};

bool Near(Color32 a, Color32 b, int tolerance)
{
    const auto off = [tolerance](int x, int y) { return x - y > tolerance || y - x > tolerance; };
    return !off(a.r, b.r) && !off(a.g, b.g) && !off(a.b, b.b);
}

TEST_F(ProgramEndToEndTest, HelpNamesTheOptionsAndMissingDataIsReportedInsteadOfABlackWindow)
{
    Launch({"--help"}, {});
    EXPECT_EQ(WaitForExit(), 0);
    for (const char* named : {"-software", "-opengl", "--help", "STRATA_DATA_DIR", "XDG_DATA_HOME", "DISPLAY"})
        EXPECT_NE(Log().find(named), std::string::npos) << named << " in:\n" << Log();

    // A data folder that holds no game: said on standard error, status 1, no window tried.
    Launch({}, {{"STRATA_DATA_DIR", mHome.Path().c_str()}, {"DISPLAY", nullptr}, {"WAYLAND_DISPLAY", nullptr}});
    EXPECT_EQ(WaitForExit(), 1);
    const std::string log = Log();
    EXPECT_NE(log.find("The game's data was not found: STRATA_DATA_DIR names " + mHome.Path()), std::string::npos)
        << log;
    EXPECT_EQ(log.find("Unhandled Exception"), std::string::npos) << log;
}

TEST_F(ProgramEndToEndTest, OnABareXServerTheGameFillsTheScreenInSoftwareAndEndsWhenItsWindowIsDestroyed)
{
    constexpr int kWidth = 1280;
    constexpr int kHeight = 800;
    std::string reason;
    if (!mServer.Start(std::to_string(kWidth) + "x" + std::to_string(kHeight) + "x24", &reason))
        GTEST_SKIP() << reason;
    mDisplay = XOpenDisplay(nullptr);
    ASSERT_NE(mDisplay, nullptr);

    // No -software, and the data found by the program itself. The renderer probe loads Mesa's driver,
    // whose allocations outlive the display's closing: they would read as leaks of an unknown module.
    Launch({}, {{"STRATA_DATA_DIR", nullptr}, {"ASAN_OPTIONS", "detect_leaks=0"}});

    ::Window window = 0;
    ASSERT_TRUE(WaitUntil("game window", [&] { return (window = FindGameWindow()) != 0; }));
    // Full screen without a window manager: the window itself covers the screen.
    XWindowAttributes attributes{};
    ASSERT_TRUE(WaitUntil("full-screen window",
                          [&]
                          {
                              return XGetWindowAttributes(mDisplay, window, &attributes) != 0 &&
                                     attributes.width == kWidth && attributes.height == kHeight;
                          }));
    EXPECT_EQ(std::pair(attributes.x, attributes.y), std::pair(0, 0));

    // The title screen, scaled to the screen's height, centred, black bars left and right.
    std::ifstream file(std::string(MENAGERIE_DATA_DIR) + "/front/TitleBackdrop.png", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    int width = 0, height = 0, channels = 0;
    const std::vector<Color32> title = Strata::Internal::DecodeStbImage(Strata::Internal::StbFormat::Png,
                                                                        reinterpret_cast<const uint8_t*>(bytes.data()),
                                                                        bytes.size(), width, height, channels, nullptr);
    ASSERT_EQ(std::pair(width, height), std::pair(800, 600));
    const Linux::sFrameViewport view = Linux::ComputeFrameViewport(kWidth, kHeight);
    double likeness = 0;
    bool barsBlack = false;
    const bool shown = WaitUntil(
        "scaled title screen",
        [&]
        {
            XImage* image = XGetImage(mDisplay, DefaultRootWindow(mDisplay), 0, 0, kWidth, kHeight, AllPlanes, ZPixmap);
            if (image == nullptr)
                return false;
            int same = 0, all = 0;
            for (int y = 5; y < 600; y += 20)
                for (int x = 5; x < 800; x += 20, ++all)
                    same += Near(ScreenAt(image, view.x + x * view.width / 800, view.y + y * view.height / 600),
                                 title[static_cast<size_t>(y) * 800 + x], 24);
            likeness = static_cast<double>(same) / all;
            barsBlack = true;
            for (int y = 0; y < kHeight; y += 40)
                for (int x : {0, view.x - 1, view.x + view.width, kWidth - 1})
                    barsBlack = barsBlack && Near(ScreenAt(image, x, y), Color32(), 0);
            XDestroyImage(image);
            return likeness > 0.9 && barsBlack;
        });
    EXPECT_TRUE(shown) << "likeness " << likeness << ", bars black " << barsBlack;
    EXPECT_NE(Log().find("OpenGL draws in software here ("), std::string::npos) << Log();

    // What `xdotool windowclose` does.
    XDestroyWindow(mDisplay, window);
    XSync(mDisplay, False);
    EXPECT_EQ(WaitForExit(), 0) << Log();
    const std::string log = Log();
    EXPECT_NE(log.find("The window was destroyed from outside; quitting."), std::string::npos) << log;
    EXPECT_EQ(log.find("X Error"), std::string::npos) << log;

    // The quit saved the player's settings, as closing the window does.
    const std::string userFolder = mHome.Path("Strata/Menagerie");
    auto* fileSystem = new Strata::FileSystem();
    fileSystem->AddFileSystemPartition(Strata::FileSystemPartition_User, new Linux::FileSystemPartition(userFolder));
    Strata::Account* account = Strata::GetAccountManager()->GetCurrentAccount();
    ASSERT_NE(account, nullptr);
    EXPECT_EQ(account->ReadValue(L"Strata::Window::Mode", 5), 1);
    EXPECT_FALSE(account->ReadValue(L"Strata::Audio::MasterControls::Volume").empty());
}

} // namespace
