// The real game binary on an X server of its own, with the committed data/: the loading screen's
// splash, its bar part-way (one manifest held at the gate), the title screen, then a quit event; the
// Spanish loading screen for a player who chose Spanish. The screenshots go to $MENAGERIE_SCREENSHOT_DIR
// when it is set.

#include "core/Color.h"
#include "core/FileSystem.h"
#include "core/Singleton.h"
#include "framework/Account.h"
#include "framework/AccountManager.h"
#include "graphics/ImageFiles.h"
#include "platform/linux/ChildXServer.h"
#include "platform/linux/FileSystemPartition.h"
#include "platform/linux/TempFolder.h"
#include "support/ChildProgram.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <gtest/gtest.h>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using Strata::Color32;
using namespace std::chrono_literals;

namespace
{

constexpr int kWidth = 800;
constexpr int kHeight = 600;
const std::string kDataFolder = MENAGERIE_DATA_DIR;
// The manifest held back: the tenth of thirty loads, so the bar stops at 9 of 30.
constexpr const char* kGateFile = "StickerBook.xml";
// The bar of data/Loading.xml and its colours.
constexpr int kBarLeft = 200;
constexpr int kBarWidth = 400;
constexpr int kBarRow = 414;
constexpr Color32 kBarFull(255, 176, 46, 255);
constexpr Color32 kBarEmpty(255, 255, 255, 255);

struct Picture
{
    int width = 0;
    int height = 0;
    std::vector<Color32> pixels;

    Color32 At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

bool Near(Color32 a, Color32 b, int tolerance)
{
    const auto off = [tolerance](int x, int y) { return x - y > tolerance || y - x > tolerance; };
    return !off(a.r, b.r) && !off(a.g, b.g) && !off(a.b, b.b);
}

Picture LoadReference(const std::string& name)
{
    Picture picture;
    std::ifstream file(kDataFolder + "/loading/" + name, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    int channels = 0;
    const char* reason = nullptr;
    picture.pixels = Strata::Internal::DecodeStbImage(Strata::Internal::StbFormat::Png,
                                                      reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                                                      picture.width, picture.height, channels, &reason);
    EXPECT_EQ(picture.width, kWidth) << name << ": " << (reason != nullptr ? reason : "");
    EXPECT_EQ(picture.height, kHeight) << name;
    return picture;
}

// The share of a grid of points where the screen shows the reference picture.
double Likeness(const Picture& screen, const Picture& reference)
{
    if (screen.width != kWidth || reference.width != kWidth || screen.height != kHeight || reference.height != kHeight)
        return 0.0;
    int same = 0, all = 0;
    for (int y = 5; y < kHeight; y += 20)
        for (int x = 5; x < kWidth; x += 20, ++all)
            same += Near(screen.At(x, y), reference.At(x, y), 24) ? 1 : 0;
    return static_cast<double>(same) / all;
}

// The pixels of the bar's middle row that show the full bar.
int FilledBarPixels(const Picture& screen)
{
    int count = 0;
    for (int x = kBarLeft; x < kBarLeft + kBarWidth; ++x)
        count += Near(screen.At(x, kBarRow), kBarFull, 30) ? 1 : 0;
    return count;
}

class GameEndToEndTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string reason;
        if (!mServer.Start(std::to_string(kWidth) + "x" + std::to_string(kHeight) + "x24", &reason))
            GTEST_SKIP() << "no X server (" << reason << ")";
        mDisplay = XOpenDisplay(nullptr);
        ASSERT_NE(mDisplay, nullptr);
        const char* shots = std::getenv("MENAGERIE_SCREENSHOT_DIR");
        mShotFolder = shots != nullptr && shots[0] != '\0' ? shots : mHome.Path("shots");
        std::filesystem::create_directories(mShotFolder);
    }

    void TearDown() override
    {
        Strata::Testing::EndChildProgram(mPid, mDisplay);
        mServer.Stop();
    }

    std::string UserFolder() const { return mHome.Path("Strata/Menagerie"); }

    // Runs `body` with the engine's accounts on the game's per-user folder, as the game will see them.
    void WithAccount(const std::function<void(Strata::Account&)>& body)
    {
        std::filesystem::create_directories(UserFolder());
        auto* fileSystem = new Strata::FileSystem();
        fileSystem->AddFileSystemPartition(Strata::FileSystemPartition_User,
                                           new Linux::FileSystemPartition(UserFolder()));
        Strata::Account* account = Strata::GetAccountManager()->GetCurrentAccount();
        ASSERT_NE(account, nullptr);
        body(*account);
        Strata::Internal::DeleteAllSingletons();
    }

    void Launch()
    {
        const std::string log = mHome.Path("game.log");
        mLog = log;
        mPid = fork();
        ASSERT_GE(mPid, 0);
        if (mPid == 0)
        {
            setenv("XDG_DATA_HOME", mHome.Path().c_str(), 1);
            setenv("STRATA_DATA_DIR", kDataFolder.c_str(), 1);
            setenv("SDL_VIDEODRIVER", mVideoDriver.c_str(), 1);
            setenv("SDL_AUDIODRIVER", "dummy", 1);
            setenv("ALSOFT_DRIVERS", "null", 1);
            setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent", 1);
            setenv("LD_PRELOAD", MENAGERIE_LOAD_GATE, 1);
            setenv("ASAN_OPTIONS", "verify_asan_link_order=0", 1);
            setenv("MENAGERIE_GATE_FILE", kGateFile, 1);
            setenv("MENAGERIE_GATE_HOLD", mHold.c_str(), 1);
            const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (out >= 0)
            {
                dup2(out, STDOUT_FILENO);
                dup2(out, STDERR_FILENO);
            }
            // The software renderer: Mesa's drivers keep allocations past exit that would read as leaks.
            // Verbose: the log then names every resource file loaded.
            execl(MENAGERIE_BINARY, MENAGERIE_BINARY, "-software", "-verbose", static_cast<char*>(nullptr));
            _exit(127);
        }
    }

    Picture Grab()
    {
        Picture picture;
        XImage* image = XGetImage(mDisplay, DefaultRootWindow(mDisplay), 0, 0, kWidth, kHeight, AllPlanes, ZPixmap);
        if (image == nullptr)
            return picture;
        picture.width = kWidth;
        picture.height = kHeight;
        picture.pixels.resize(static_cast<size_t>(kWidth) * kHeight);
        const auto channel = [](unsigned long value, unsigned long mask)
        {
            int shift = 0;
            while (mask != 0 && (mask & 1) == 0)
            {
                mask >>= 1;
                ++shift;
            }
            return static_cast<uint8_t>(((value >> shift) & mask) * 255 / (mask != 0 ? mask : 1));
        };
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
            {
                const unsigned long value = XGetPixel(image, x, y);
                picture.pixels[static_cast<size_t>(y) * kWidth + x] =
                    Color32(channel(value, image->red_mask), channel(value, image->green_mask),
                            channel(value, image->blue_mask), 255);
            }
        XDestroyImage(image);
        return picture;
    }

    void Save(const Picture& picture, const std::string& name)
    {
        std::vector<uint8_t> rgba;
        rgba.reserve(picture.pixels.size() * 4);
        for (const Color32& c : picture.pixels)
            rgba.insert(rgba.end(), {c.r, c.g, c.b, 255});
        EXPECT_NE(stbi_write_png((mShotFolder + "/" + name).c_str(), picture.width, picture.height, 4, rgba.data(),
                                 picture.width * 4),
                  0);
    }

    // Grabs the screen until `seen` accepts it or the game ends or time runs out; the accepted picture.
    Picture WaitFor(const char* what, const std::function<bool(const Picture&)>& seen)
    {
        const auto deadline = std::chrono::steady_clock::now() + 90s;
        while (std::chrono::steady_clock::now() < deadline)
        {
            Picture screen = Grab();
            if (screen.width == kWidth && seen(screen))
                return screen;
            if (waitpid(mPid, &mStatus, WNOHANG) == mPid)
            {
                mPid = -1;
                ADD_FAILURE() << "the game ended before " << what << ":\n" << GameLog();
                return Picture();
            }
            std::this_thread::sleep_for(30ms);
        }
        ADD_FAILURE() << "no " << what << " within the time:\n" << GameLog();
        return Picture();
    }

    // From `shown`, the screen once it stands still: two grabs `step` apart alike, at most 40 grabs.
    Picture OnceStill(Picture shown, std::chrono::milliseconds step)
    {
        for (int i = 0; i < 40 && shown.width == kWidth; ++i)
        {
            std::this_thread::sleep_for(step);
            Picture next = Grab();
            const bool same = next.pixels.size() == shown.pixels.size() &&
                              std::equal(next.pixels.begin(), next.pixels.end(), shown.pixels.begin(),
                                         [](Color32 a, Color32 b) { return Near(a, b, 0); });
            shown = std::move(next);
            if (same)
                break;
        }
        return shown;
    }

    std::string GameLog() const
    {
        std::ifstream file(mLog);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    // Waits for the game to end; false when it has not within the time.
    bool WaitForExit()
    {
        for (int i = 0; i < 600; ++i)
        {
            if (waitpid(mPid, &mStatus, WNOHANG) == mPid)
            {
                mPid = -1;
                return true;
            }
            std::this_thread::sleep_for(50ms);
        }
        return false;
    }

    ChildXServer mServer;
    TempFolder mHome;
    Display* mDisplay = nullptr;
    std::string mShotFolder;
    std::string mHold = mHome.Path("hold");
    std::string mLog;
    pid_t mPid = -1;
    int mStatus = 0;
    std::string mVideoDriver = "x11";
};

TEST_F(GameEndToEndTest, LoadsBehindTheLoadingScreenReachesTheTitleAndQuitsCleanly)
{
    WithAccount([](Strata::Account& account) { ASSERT_TRUE(account.WriteValue(L"Strata::Window::Mode", 0)); });
    std::ofstream(mHold) << "held";
    const Picture splash1 = LoadReference("Splash1.png");
    const Picture background = LoadReference("LoadingBackground.png");
    // The title screen's picture; its start button covers a strip of it.
    const Picture title = LoadReference("../front/TitleBackdrop.png");
    Launch();

    const Picture splash = WaitFor("first splash", [&](const Picture& s) { return Likeness(s, splash1) > 0.95; });
    Save(splash, "loading_splash.png");

    // Once the splashes have faded, the bar holds at the nine loads done before the gate; the gate
    // holds it there while the splash's fade ends and the screen stands still.
    const Picture bar = OnceStill(WaitFor("part-filled bar", [&](const Picture& s)
                                          { return Likeness(s, background) > 0.93 && FilledBarPixels(s) > 0; }),
                                  250ms);
    Save(bar, "loading_bar.png");
    if (bar.width == kWidth)
    {
        EXPECT_NEAR(FilledBarPixels(bar), kBarWidth * 9 / 30, 8);
        EXPECT_TRUE(Near(bar.At(kBarLeft + kBarWidth - 20, kBarRow), kBarEmpty, 30));
    }
    std::filesystem::remove(mHold);

    const Picture shown = WaitFor("title screen", [&](const Picture& s) { return Likeness(s, title) > 0.93; });
    Save(shown, "title.png");

    ASSERT_GT(mPid, 0);
    // SDL turns the signal into the quit event.
    kill(mPid, SIGTERM);
    ASSERT_TRUE(WaitForExit()) << GameLog();
    EXPECT_TRUE(WIFEXITED(mStatus) && WEXITSTATUS(mStatus) == 0) << "status " << mStatus << "\n" << GameLog();

    const std::string log = GameLog();
    EXPECT_EQ(log.find("failed to load"), std::string::npos) << log;
    EXPECT_EQ(log.find("Unhandled Exception"), std::string::npos) << log;
    for (const char* progress :
         {"Loading resource file: PaintTheHouseMode", "Destroying ObjectDatabase", "LoadingMode Actual Load Times"})
        EXPECT_NE(log.find(progress), std::string::npos) << progress << "\n" << log;

    // The quit saved the window and audio settings into the account.
    WithAccount(
        [](Strata::Account& account)
        {
            EXPECT_EQ(account.ReadValue(L"Strata::Window::Mode", 5), 0);
            EXPECT_FALSE(account.ReadValue(L"Strata::Audio::MasterControls::Volume").empty());
        });
}

TEST_F(GameEndToEndTest, APlayerWhoChoseSpanishLoadsBehindTheSpanishPictures)
{
    // The last player chose Spanish: the loading screen is drawn with the Spanish words from its start.
    WithAccount([](Strata::Account& account) { ASSERT_TRUE(account.WriteValue(L"EnglishLanguage", false)); });
    std::ofstream(mHold) << "held";
    const Picture splash2 = LoadReference("Splash2_SP.png");
    const Picture background = LoadReference("LoadingBackground_SP.png");
    const Picture english = LoadReference("Splash2.png");
    Launch();

    // The second splash fades in over the first and is then held: shot once the screen stands still.
    const Picture splash =
        OnceStill(WaitFor("second splash", [&](const Picture& s) { return Likeness(s, splash2) > 0.97; }), 100ms);
    Save(splash, "loading_splash_es.png");
    if (splash.width == kWidth)
        EXPECT_LT(Likeness(splash, english), Likeness(splash, splash2));
    // Behind the bar, the Spanish background: the layout's sprite names the image its manifest gives.
    const Picture bar = WaitFor("Spanish bar", [&](const Picture& s)
                                { return Likeness(s, background) > 0.93 && FilledBarPixels(s) > 0; });
    Save(bar, "loading_background_es.png");
    std::filesystem::remove(mHold);

    ASSERT_GT(mPid, 0);
    kill(mPid, SIGTERM);
    ASSERT_TRUE(WaitForExit()) << GameLog();
    EXPECT_NE(GameLog().find("Loading_SP"), std::string::npos) << GameLog();
}

TEST_F(GameEndToEndTest, AFailedSetUpIsReportedAndEndsTheProcessWithAFailure)
{
    // No video driver of that name: the platform's set-up throws before any window exists.
    mVideoDriver = "none-such";
    Launch();
    ASSERT_TRUE(WaitForExit()) << GameLog();
    EXPECT_TRUE(WIFEXITED(mStatus) && WEXITSTATUS(mStatus) != 0) << "status " << mStatus;
    const std::string log = GameLog();
    const std::string report = "Unhandled Exception: Strata::RuntimeError\n Function: ";
    const size_t at = log.find(report);
    ASSERT_NE(at, std::string::npos) << log;
    const size_t file = log.find("\n File: ", at);
    const size_t line = log.find("\n Line: ", file);
    const size_t message = log.find("\n Message: ", line);
    EXPECT_TRUE(file != std::string::npos && line != std::string::npos && message != std::string::npos) << log;
    // With no display to show it on, the alert is written to the log instead of waited for.
    EXPECT_NE(log.find("Unhandled Exception\nFunction: ", at + report.size()), std::string::npos) << log;
}

} // namespace
