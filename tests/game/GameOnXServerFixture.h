#pragma once

// The real game application run through MainLoop on an X server of its own, with the committed data/,
// a fresh per-user folder, the software canvas and OpenAL Soft's null device. The loop's clock is the
// test's: it moves 20 ms at every sleep, after OnFrame, where the test looks at the game and acts.

#include "game/GameApplication.h"

#include "core/Color.h"
#include "core/Random.h"
#include "core/Singleton.h"
#include "core/Time.h"
#include "framework/FrameHooks.h"
#include "framework/MainLoop.h"
#include "graphics/Window.h"
#include "platform/linux/ApplicationPlatform.h"
#include "platform/linux/ChildXServer.h"
#include "platform/linux/FrameViewport.h"
#include "platform/linux/ScopedEnvironment.h"
#include "platform/linux/TempFolder.h"

#include "LiveGameSupport.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class GameOnXServerFixture : public ::testing::Test
{
protected:
    static constexpr uint32_t kStart = 100000;
    static constexpr uint32_t kStepMS = 20;

    // Skips the test when no X server starts. `program` is the command line's first word; `seed` seeds
    // the game's random streams; `screen` is the X server's screen, which the full-screen game fills.
    void StartGame(const char* program, unsigned seed, const char* screen = "800x600x24")
    {
        std::string reason;
        if (!mServer.Start(screen, &reason))
            GTEST_SKIP() << "no X server (" << reason << ")";
        Set("STRATA_DATA_DIR", MENAGERIE_DATA_DIR);
        Set("XDG_DATA_HOME", mUserFolder.Path().c_str());
        Set("SDL_VIDEODRIVER", "x11");
        Set("ALSOFT_DRIVERS", "null");
        if (std::getenv("DBUS_SESSION_BUS_ADDRESS") == nullptr)
            Set("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent");

        mProgram = program;
        static char software[] = "-software";
        char* arguments[] = {mProgram.data(), software, nullptr};
        Strata::SetCommandLine(2, arguments);
        Strata::Random::SetSeedOverride(seed);

        Strata::MainLoop::ResetForTesting();
        Strata::MainLoop::SetProcessReleaseForTesting(false);
        Strata::MainLoop::SetPlatformFactory(&Linux::CreatePlatform);
        Strata::MainLoop::SetTimeSourceForTesting([this] { return mClock; },
                                                  [this](unsigned long)
                                                  {
                                                      OnFrame();
                                                      mClock += kStepMS;
                                                  });
        mApplication = std::make_unique<TestApplication>();
    }

    void TearDown() override
    {
        Strata::MainLoop::ResetForTesting();
        Strata::MainLoop::SetTimeSourceForTesting(nullptr, nullptr);
        Strata::MainLoop::SetPlatformFactory(nullptr);
        Strata::MainLoop::SetProcessReleaseForTesting(true);
        Strata::Window::Internal::ResetForTesting();
        Strata::InstallFrameHooks(Strata::sFrameHooks());
        Strata::Internal::DeleteAllSingletons();
        mApplication.reset();
        Strata::Random::ClearSeedOverride();
        char* arguments[] = {mProgram.data(), nullptr};
        Strata::SetCommandLine(1, arguments);
        mServer.Stop();
        while (!mEnvironment.empty())
            mEnvironment.pop_back();
    }

    virtual void OnFrame() = 0;

    // Plays on a copy of data/ in the test's folder, so that the test may change the file `name` while
    // the game runs; every other entry links to the committed one. Call after StartGame. The path of
    // the copied file.
    std::string UseDataCopy(const char* name)
    {
        const std::filesystem::path committed = MENAGERIE_DATA_DIR;
        const std::filesystem::path copy = mUserFolder.Path("data");
        std::filesystem::create_directories(copy);
        for (const std::filesystem::directory_entry& entry : std::filesystem::directory_iterator(committed))
            if (entry.path().filename() != name)
                std::filesystem::create_symlink(entry.path(), copy / entry.path().filename());
        std::filesystem::copy_file(committed / name, copy / name);
        Set("STRATA_DATA_DIR", copy.c_str());
        return (copy / name).string();
    }

    static SDL_Event MouseMotion(int x, int y, bool held = false) { return LiveGame::MouseMotion(x, y, held); }
    static SDL_Event MouseButton(Uint32 type, int x, int y) { return LiveGame::MouseButton(type, x, y); }

    // The game window's pixels as the player sees them, top row first, alpha 255; none without a
    // window surface.
    static std::vector<Strata::Color32> WindowPixels(int* width, int* height)
    {
        SDL_Surface* screen = SDL_GetWindowSurface(Linux::GetMainWindow());
        std::vector<Strata::Color32> pixels;
        if (screen == nullptr)
            return pixels;
        *width = screen->w;
        *height = screen->h;
        pixels.resize(static_cast<size_t>(screen->w) * screen->h);
        SDL_LockSurface(screen);
        for (int y = 0; y < screen->h; ++y)
            for (int x = 0; x < screen->w; ++x)
            {
                Uint32 value = 0;
                std::memcpy(&value,
                            static_cast<const Uint8*>(screen->pixels) + y * screen->pitch +
                                x * screen->format->BytesPerPixel,
                            screen->format->BytesPerPixel);
                Uint8 r = 0, g = 0, b = 0;
                SDL_GetRGB(value, screen->format, &r, &g, &b);
                pixels[static_cast<size_t>(y) * screen->w + x] = Strata::Color32(r, g, b, 255);
            }
        SDL_UnlockSurface(screen);
        return pixels;
    }

    // Where the screenshot `name` goes: MENAGERIE_SCREENSHOT_DIR when set, else the player's folder.
    std::string ShotPath(const std::string& name) const
    {
        const char* shots = std::getenv("MENAGERIE_SCREENSHOT_DIR");
        const std::string folder = shots != nullptr && shots[0] != '\0' ? shots : mUserFolder.Path() + "/shots";
        std::filesystem::create_directories(folder);
        return folder + "/" + name + ".png";
    }

    // The game window's pixels as red, green and blue bytes, for a screenshot.
    static std::vector<unsigned char> WindowRGB(int* width, int* height)
    {
        const std::vector<Strata::Color32> pixels = WindowPixels(width, height);
        std::vector<unsigned char> rgb;
        rgb.reserve(pixels.size() * 3);
        for (const Strata::Color32& pixel : pixels)
            rgb.insert(rgb.end(), {pixel.r, pixel.g, pixel.b});
        return rgb;
    }

    void Set(const char* name, const char* value)
    {
        mEnvironment.push_back(std::make_unique<ScopedEnvironment>(name, value));
    }

    class TestApplication final : public Yardcrew::Application
    {
    public:
        TestApplication()
        {
            mConfig = Yardcrew::Application::GetConfig();
            // Keeps running whatever the focus: no window manager gives it under Xvfb.
            mConfig.singleInstance = 0;
            mConfig.runInBackground = 1;
        }
        const Strata::sApplicationConfig& GetConfig() const override { return mConfig; }
        unsigned long GetDefaultGraphicsPlatformCaps() const override { return Strata::GraphicsPlatformCaps_Software; }

    private:
        Strata::sApplicationConfig mConfig;
    };

    ChildXServer mServer;
    TempFolder mUserFolder;
    std::vector<std::unique_ptr<ScopedEnvironment>> mEnvironment;
    std::unique_ptr<TestApplication> mApplication;
    std::string mProgram = "menagerie";
    uint32_t mClock = kStart;
};
