// The game program as a user meets it on a machine without a graphics card: its help, its report of
// missing data (in a box that leaves each signal its effect and ends with the game), and a run on a
// bare X server (no window manager, Mesa's software OpenGL) from the full-screen picture to a window
// destroyed by another program.

#include "ChildXServer.h"
#include "TempFolder.h"
#include "core/FileSystem.h"
#include "framework/Account.h"
#include "framework/AccountManager.h"
#include "platform/linux/ApplicationPlatform.h"
#include "platform/linux/FileSystemPartition.h"
#include "platform/linux/FrameViewport.h"
#include "support/ChildProgram.h"
#include "support/WaitUntil.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace
{

class ProgramEndToEndTest : public ::testing::Test
{
protected:
    void TearDown() override { Strata::Testing::EndChildProgram(mPid, mDisplay); }

    // Starts the game with the argument (none when null) and the environment changed by `changes` (a
    // null value removes a variable), with SIGINT ignored when `ignoreSIGINT` (as a shell starts a
    // program in the background); its output goes to the log.
    void Launch(const char* argument, const std::vector<std::pair<const char*, const char*>>& changes,
                bool ignoreSIGINT = false)
    {
        mStatus = -1;
        mPid = fork();
        ASSERT_GE(mPid, 0);
        if (mPid != 0)
            return;
        // Whatever this test was started with (a script's background job ignores SIGINT).
        signal(SIGINT, ignoreSIGINT ? SIG_IGN : SIG_DFL);
        signal(SIGTERM, SIG_DFL);
        setenv("XDG_DATA_HOME", mHome.Path().c_str(), 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("ALSOFT_DRIVERS", "null", 1);
        setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent", 1);
        unsetenv("SDL_VIDEODRIVER");
        for (const auto& [name, value] : changes)
            value != nullptr ? setenv(name, value, 1) : unsetenv(name);
        const int out = open(mHome.Path("program.log").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, STDOUT_FILENO);
        dup2(out, STDERR_FILENO);
        execl(MENAGERIE_BINARY, MENAGERIE_BINARY, argument, static_cast<char*>(nullptr));
        _exit(127);
    }

    // Polls `done` until it is true, the game ends (its status in mStatus) or 90 seconds pass.
    bool WaitUntil(const std::function<bool()>& done)
    {
        for (int i = 0; i < 1800 && mPid > 0; ++i)
        {
            if (done())
                return true;
            HasEnded();
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    int WaitForExit()
    {
        WaitUntil([] { return false; });
        return mStatus;
    }

    // Whether the game has ended; its status (128 + the signal for one that ended it) is then in mStatus.
    bool HasEnded()
    {
        int status = 0;
        if (mPid <= 0 || waitpid(mPid, &status, WNOHANG) != mPid)
            return mPid <= 0;
        mPid = -1;
        mStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return true;
    }

    // How the box telling of missing data is shown: SDL's own box, where the display has the font it asks
    // for, or else the desktop's dialog helper (here its stand-in).
    enum class eBox
    {
        SDLsOwn,
        DialogHelper
    };
    static std::string Describe(eBox box) { return box == eBox::SDLsOwn ? "SDL's own box" : "the dialog helper's box"; }

    // A server of its own, on which the game, started without its data and with `changes` to its
    // environment, shows its box (see Launch for `ignoreSIGINT`). Skips the test without a server.
    void ShowMissingDataBox(eBox box, const std::vector<std::pair<const char*, const char*>>& changes = {},
                            bool ignoreSIGINT = false)
    {
        // The display closes first.
        Strata::Testing::EndChildProgram(mPid, mDisplay);
        mServer.Stop();
        if (box == eBox::SDLsOwn)
            mServer.GiveBuiltInFontToMessageBoxes(mFonts.Path());
        else
            mServer.SetFontPath("");
        std::string reason;
        if (!mServer.Start("1024x768x24", &reason, false))
            GTEST_SKIP() << reason;
        mDisplay = XOpenDisplay(nullptr);
        ASSERT_NE(mDisplay, nullptr);
        const char* path = std::getenv("PATH");
        const std::string helperFirst =
            std::string(DIALOG_HELPER_DIR) + ":" + (path != nullptr ? path : "/usr/bin:/bin");
        auto environment = changes;
        environment.insert(environment.end(),
                           {{"STRATA_DATA_DIR", "/nonexistent"}, {"PATH", helperFirst.c_str()}, {"LC_ALL", "C.UTF-8"}});
        Launch(nullptr, environment, ignoreSIGINT);
        ASSERT_TRUE(Strata::Testing::WaitUntil([&] { return IsBoxUp(); }, std::chrono::seconds(60)))
            << mHome.Get("program.log");
        ASSERT_FALSE(HasEnded()) << "the box waits for a click";
    }

    // Whether the game's box is on screen. The box may go between its finding and the reading of its
    // state: the server's error for it is ignored.
    bool IsBoxUp() const
    {
        const XErrorHandler kept = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        const ::Window box = FindGameWindow();
        XWindowAttributes attributes{};
        const bool up =
            box != 0 && XGetWindowAttributes(mDisplay, box, &attributes) != 0 && attributes.map_state == IsViewable;
        XSync(mDisplay, False);
        XSetErrorHandler(kept);
        return up;
    }

    // Sends `signal` to the game, which must still run: a number of 0 or less would reach every process.
    void SignalGame(int signal)
    {
        ASSERT_GT(mPid, 0) << "the game has ended already";
        kill(mPid, signal);
    }

    // Sends `signal` to the game and waits for it to end; its status is then in mStatus.
    void EndBySignal(int signal)
    {
        ASSERT_NO_FATAL_FAILURE(SignalGame(signal));
        ASSERT_TRUE(Strata::Testing::WaitUntil([&] { return HasEnded(); }, std::chrono::seconds(20)))
            << mHome.Get("program.log");
        EXPECT_TRUE(Strata::Testing::WaitUntil([&] { return FindGameWindow() == 0; })) << "the box stays on screen";
        const std::string log = mHome.Get("program.log");
        EXPECT_NE(log.find("The game's data was not found: STRATA_DATA_DIR names /nonexistent"), std::string::npos)
            << log;
        EXPECT_EQ(log.find("Could not show a message box"), std::string::npos) << log;
    }

    // The top-level window titled "Menagerie" (in UTF-8, which XFetchName does not read); 0 when none.
    // A window may go between the listing and the reading of its name (the renderer's probe, a box):
    // the server's error for it is ignored instead of ending the test.
    ::Window FindGameWindow() const
    {
        const XErrorHandler kept = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        ::Window root = 0, parent = 0, found = 0;
        ::Window* children = nullptr;
        unsigned count = 0;
        XQueryTree(mDisplay, DefaultRootWindow(mDisplay), &root, &parent, &children, &count);
        for (unsigned i = 0; i < count && found == 0; ++i)
        {
            XTextProperty name{};
            if (XGetWMName(mDisplay, children[i], &name) != 0 && name.value != nullptr &&
                std::string(reinterpret_cast<const char*>(name.value), name.nitems) == "Menagerie")
                found = children[i];
            XFree(name.value);
        }
        XFree(children);
        XSync(mDisplay, False);
        XSetErrorHandler(kept);
        return found;
    }

    TempFolder mHome;
    TempFolder mFonts;
    // The display closes in TearDown, before its server ends.
    ChildXServer mServer;
    Display* mDisplay = nullptr;
    pid_t mPid = -1;
    int mStatus = -1;
};

TEST_F(ProgramEndToEndTest, HelpNamesTheOptionsAndMissingDataIsReportedInsteadOfABlackWindow)
{
    Launch("--help", {});
    EXPECT_EQ(WaitForExit(), 0);
    const std::string help = mHome.Get("program.log");
    for (const char* named : {"-software", "-opengl", "-verbose", "--help", "STRATA_DATA_DIR", "XDG_DATA_HOME",
                              "DISPLAY", "Ctrl+Q", "F11", "Alt+Enter", "F1 "})
        EXPECT_NE(help.find(named), std::string::npos) << named;
    // Each key the platform answers, on one line with what it does, after the options.
    for (const Linux::sCommandKey& key : Linux::kCommandKeys)
    {
        const size_t at = help.find(std::string("  ") + key.keys + " ");
        ASSERT_NE(at, std::string::npos) << key.keys;
        EXPECT_GT(at, help.find("--help")) << key.keys;
        const std::string line = help.substr(at, help.find('\n', at) - at);
        EXPECT_NE(line.find(key.action), std::string::npos) << line;
    }

    // A data folder that holds no game: said on standard error, status 1, no window tried.
    Launch(nullptr, {{"STRATA_DATA_DIR", mHome.Path().c_str()}, {"DISPLAY", nullptr}, {"WAYLAND_DISPLAY", nullptr}});
    EXPECT_EQ(WaitForExit(), 1);
    const std::string log = mHome.Get("program.log");
    EXPECT_NE(log.find("The game's data was not found: STRATA_DATA_DIR names " + mHome.Path()), std::string::npos)
        << log;
    EXPECT_EQ(log.find("Unhandled Exception"), std::string::npos) << log;
}

// A script or a service manager ends the game with a signal, whatever box it shows: the box telling of
// missing data ends with the status the game has without a display, and leaves the screen.
TEST_F(ProgramEndToEndTest, ASignalEndsTheMissingDataBoxWithAFailure)
{
    for (const eBox box : {eBox::SDLsOwn, eBox::DialogHelper})
        for (const int signal : {SIGTERM, SIGINT})
        {
            SCOPED_TRACE(Describe(box) + ", " + strsignal(signal));
            ASSERT_NO_FATAL_FAILURE(ShowMissingDataBox(box));
            if (IsSkipped())
                return;
            ASSERT_NO_FATAL_FAILURE(EndBySignal(signal));
            EXPECT_EQ(mStatus, 1) << mHome.Get("program.log");
        }
}

// Where SDL leaves a signal alone, the box leaves it alone too: with SDL's handlers off, SIGTERM and
// SIGINT end the game as they end it without a box (the box gone first); a game started with SIGINT
// ignored keeps its box on SIGINT.
TEST_F(ProgramEndToEndTest, TheMissingDataBoxLeavesEachSignalItsEffectOnTheGame)
{
    struct Case
    {
        eBox box;
        bool handlersOff;
        bool ignoreSIGINT; // then SIGINT comes first and changes nothing
        int signal;
        int status;
    };
    const Case cases[] = {
        {eBox::SDLsOwn, true, false, SIGTERM, 128 + SIGTERM},
        {eBox::DialogHelper, true, false, SIGTERM, 128 + SIGTERM},
        {eBox::DialogHelper, true, false, SIGINT, 128 + SIGINT},
        {eBox::SDLsOwn, false, true, SIGTERM, 1},
        {eBox::DialogHelper, true, true, SIGTERM, 128 + SIGTERM},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(Describe(c.box) + (c.handlersOff ? ", SDL's handlers off" : "") +
                     (c.ignoreSIGINT ? ", SIGINT ignored" : "") + ", " + strsignal(c.signal));
        std::vector<std::pair<const char*, const char*>> changes;
        if (c.handlersOff)
            changes.emplace_back("SDL_NO_SIGNAL_HANDLERS", "1");
        ASSERT_NO_FATAL_FAILURE(ShowMissingDataBox(c.box, changes, c.ignoreSIGINT));
        if (IsSkipped())
            return;
        if (c.ignoreSIGINT)
        {
            const pid_t boxProcess = Strata::Testing::FindChildProcess(mPid);
            ASSERT_GT(boxProcess, 0);
            ASSERT_NO_FATAL_FAILURE(SignalGame(SIGINT));
            ASSERT_TRUE(Strata::Testing::WaitUntil([&] { return Strata::Testing::HasDealtWith(mPid, SIGINT); }));
            EXPECT_TRUE(Strata::Testing::LivesOn(boxProcess)) << "SIGINT ended the box";
            EXPECT_FALSE(HasEnded()) << mHome.Get("program.log");
            EXPECT_TRUE(IsBoxUp());
        }
        ASSERT_NO_FATAL_FAILURE(EndBySignal(c.signal));
        EXPECT_EQ(mStatus, c.status) << mHome.Get("program.log");
    }
}

// A game killed outright cannot close its box: the box's process ends with it, and the box leaves the
// screen.
TEST_F(ProgramEndToEndTest, KillingTheGameTakesItsBoxWithIt)
{
    for (const eBox box : {eBox::SDLsOwn, eBox::DialogHelper})
    {
        SCOPED_TRACE(Describe(box));
        ASSERT_NO_FATAL_FAILURE(ShowMissingDataBox(box));
        if (IsSkipped())
            return;
        const pid_t boxProcess = Strata::Testing::FindChildProcess(mPid);
        ASSERT_GT(boxProcess, 0);
        ASSERT_NO_FATAL_FAILURE(SignalGame(SIGKILL));
        ASSERT_TRUE(Strata::Testing::WaitUntil([&] { return HasEnded(); }));
        EXPECT_TRUE(Strata::Testing::WaitUntil(
            [&] { return Strata::Testing::HasProcessEnded(boxProcess) && FindGameWindow() == 0; },
            std::chrono::seconds(30)))
            << "the box outlives the game";
        if (!Strata::Testing::HasProcessEnded(boxProcess))
            kill(boxProcess, SIGKILL);
    }
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

    // No -software, and the data found by the game itself. The renderer probe loads Mesa's driver,
    // whose allocations outlive the display's closing: they would read as leaks of an unknown module.
    Launch(nullptr, {{"STRATA_DATA_DIR", nullptr}, {"ASAN_OPTIONS", "detect_leaks=0"}});
    ::Window window = 0;
    ASSERT_TRUE(WaitUntil([&] { return (window = FindGameWindow()) != 0; })) << mHome.Get("program.log");

    // Full screen without a window manager: the picture scaled to the screen's height and centred,
    // reaching all four corners, black bars beside it (a window left at 800 x 600 cuts it off).
    const Linux::sFrameViewport view = Linux::ComputeFrameViewport(kWidth, kHeight);
    const auto drawn = [&]
    {
        XImage* image = XGetImage(mDisplay, DefaultRootWindow(mDisplay), 0, 0, kWidth, kHeight, AllPlanes, ZPixmap);
        if (image == nullptr)
            return false;
        bool seen = true;
        for (int y : {2, kHeight / 2, kHeight - 3})
        {
            seen = seen && XGetPixel(image, view.x + 2, y) != 0 && XGetPixel(image, view.x + view.width - 3, y) != 0;
            for (int x : {0, view.x - 1, view.x + view.width, kWidth - 1})
                seen = seen && XGetPixel(image, x, y) == 0;
        }
        XDestroyImage(image);
        return seen;
    };
    EXPECT_TRUE(WaitUntil(drawn)) << mHome.Get("program.log");
    EXPECT_NE(mHome.Get("program.log").find("OpenGL draws in software here ("), std::string::npos);

    // What `xdotool windowclose` does.
    XDestroyWindow(mDisplay, window);
    XSync(mDisplay, False);
    EXPECT_EQ(WaitForExit(), 0) << mHome.Get("program.log");
    const std::string log = mHome.Get("program.log");
    EXPECT_NE(log.find("The window was destroyed from outside; quitting."), std::string::npos) << log;
    EXPECT_EQ(log.find("X Error"), std::string::npos) << log;
    // Without -verbose the engine's progress stays off the terminal, from the first load to the quit.
    for (const char* progress :
         {"Loading resource file", "Unloading resource file", "Destroying ObjectDatabase", "Load Times", "\tTask "})
        EXPECT_EQ(log.find(progress), std::string::npos) << progress << "\n" << log;

    // The quit saved the player's settings, as closing the window does.
    auto* fileSystem = new Strata::FileSystem();
    fileSystem->AddFileSystemPartition(Strata::FileSystemPartition_User,
                                       new Linux::FileSystemPartition(mHome.Path("Strata/Menagerie")));
    Strata::Account* account = Strata::GetAccountManager()->GetCurrentAccount();
    ASSERT_NE(account, nullptr);
    EXPECT_EQ(account->ReadValue(L"Strata::Window::Mode", 5), 1);
    EXPECT_FALSE(account->ReadValue(L"Strata::Audio::MasterControls::Volume").empty());
}

} // namespace
