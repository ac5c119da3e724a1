#pragma once

// Running the real game inside a benchmark program: SDL's dummy video, the software renderer, OpenAL
// Soft's null device and the committed data/, with the main loop's clock and sleep in the benchmark's
// hands.

#include "core/Singleton.h"
#include "core/Time.h"
#include "framework/FrameHooks.h"
#include "framework/MainLoop.h"
#include "game/GameApplication.h"
#include "graphics/Window.h"
#include "platform/linux/ApplicationPlatform.h"

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

// Records `program` and "-software" as the command line; "-opengl" when `software` is false, so the game
// keeps OpenGL even where Mesa draws it in software, as on a machine without a graphics card.
inline void SetGameCommandLine(const char* program, bool software = true)
{
    std::string name = program;
    std::string flag = software ? "-software" : "-opengl";
    char* arguments[] = {name.data(), flag.data(), nullptr};
    Strata::SetCommandLine(2, arguments);
}

// Called first in main: no display, no sound card, the source tree's data, the software renderer.
inline void UseHeadlessGame(const char* program)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("ALSOFT_DRIVERS", "null", 1);
    setenv("STRATA_DATA_DIR", MENAGERIE_DATA_DIR, 1);
    SetGameCommandLine(program);
}

// Runs the game from start-up until the loop exits, in a fresh per-user folder named after `tag` and
// removed afterwards, with the loop's clock and sleep replaced by `now` and `sleep` (the sleep is where
// the benchmark watches the game and ends it with MainLoop::Exit). Leaves the engine as it found it, so
// the next run starts the same way.
inline void RunGame(const std::string& tag, std::function<uint32_t()> now, std::function<void(unsigned long)> sleep)
{
    namespace fs = std::filesystem;
    const fs::path home = fs::temp_directory_path() / (tag + "_" + std::to_string(::getpid()));
    fs::remove_all(home);
    fs::create_directories(home);
    setenv("XDG_DATA_HOME", home.c_str(), 1);

    Strata::MainLoop::ResetForTesting();
    Strata::MainLoop::SetProcessReleaseForTesting(false);
    Strata::MainLoop::SetPlatformFactory(&Linux::CreatePlatform);
    Strata::MainLoop::SetTimeSourceForTesting(std::move(now), std::move(sleep));
    {
        Yardcrew::Application application;
        Strata::MainLoop::Execute();
    }
    Strata::MainLoop::ResetForTesting();
    Strata::MainLoop::SetTimeSourceForTesting(nullptr, nullptr);
    Strata::MainLoop::SetPlatformFactory(nullptr);
    Strata::Window::Internal::ResetForTesting();
    Strata::InstallFrameHooks(Strata::sFrameHooks());
    Strata::Internal::DeleteAllSingletons();
    fs::remove_all(home);
}
