// Memory over a long play: the real game application, with the committed data/, OpenAL Soft's null
// device and a fake clock, plays the counting game again and again (clicks at the centres of named
// buttons and of the right pile, each made when its screen is ready). Games take turns: one from free
// play, then one through the story (its cut-scenes skipped, Help's pop-up and the quit question opened
// in the game, the sticker reward). After free play it switches the language in the options and shows
// the credits; after the story it answers No to the menu's quit question and visits the profile screen.
// After every game it samples the process: peak and current resident size, and the heap in use. Prints
// the peak after 5 games against the peak after the last (goal: within 5%).
// On a display (xvfb-run) it draws with OpenGL ("-opengl"), or with the software renderer when given
// "-software"; without one, on SDL's dummy video with the software renderer.
// Usage: play_memory_bench [games, default 50] [-software]

#include "core/Random.h"
#include "core/Singleton.h"
#include "core/Time.h"
#include "framework/Account.h"
#include "framework/AccountManager.h"
#include "framework/FrameHooks.h"
#include "framework/MainLoop.h"
#include "game/AccountKeys.h"
#include "game/CountTheMaterials/CountTheMaterialsMode.h"
#include "game/CountTheMaterials/DraggableMaterial.h"
#include "game/CountTheMaterials/MaterialTarget.h"
#include "game/ForemanInstructionMode.h"
#include "game/GameApplication.h"
#include "game/LevelManager.h"
#include "game/screens/AccountConfirmMode.h"
#include "game/screens/CreditsMode.h"
#include "game/screens/CutsceneMode.h"
#include "game/screens/DifficultySelectMode.h"
#include "game/screens/FreePlaySelectMode.h"
#include "game/screens/MainMenuMode.h"
#include "game/screens/MyAccountMode.h"
#include "game/screens/MyOptionsMode.h"
#include "game/screens/QuitConfirmMode.h"
#include "game/screens/ScreenSupport.h"
#include "game/screens/StickerUnlockMode.h"
#include "game/screens/TitleMode.h"
#include "graphics/OpenGLCanvas.h"
#include "graphics/Window.h"
#include "platform/linux/ApplicationPlatform.h"
#include "platform/linux/FrameViewport.h"
#include "scene/RadioButtonNode.h"
#include "scene/SceneApplicationMode.h"
#include "scene/SceneNode.h"

#include "../tests/game/LiveGameSupport.h"

#include <SDL.h>
#include <malloc.h>
#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <string>
#include <typeinfo>
#include <vector>

using namespace Yardcrew;
using namespace Strata;

namespace
{

class MemoryLoopApplication final : public ::Application
{
public:
    explicit MemoryLoopApplication(bool software) : mSoftware(software)
    {
        mConfig = ::Application::GetConfig();
        mConfig.singleInstance = 0;
        mConfig.runInBackground = 1;
    }
    const sApplicationConfig& GetConfig() const override { return mConfig; }
    unsigned long GetDefaultGraphicsPlatformCaps() const override
    {
        return mSoftware ? GraphicsPlatformCaps_Software : ::Application::GetDefaultGraphicsPlatformCaps();
    }

private:
    bool mSoftware;
    sApplicationConfig mConfig;
};

using LiveGame::Top;
using LiveGame::TopNode;

bool Checked(const char* name)
{
    auto* radio = TopNode<RadioButtonNode>(name);
    return radio != nullptr && radio->IsChecked();
}

// A click at a point of the logical frame, placed in the window the way the platform maps it back.
void ClickAt(int frameX, int frameY)
{
    const Vector2<int> at = LiveGame::WindowPoint(frameX, frameY);
    LiveGame::PushPointer(at.x, at.y, true);
}

// False when there is no such node (yet).
bool ClickOn(SceneNode* node)
{
    if (node == nullptr)
        return false;
    const Rect<float> bounds = node->GlobalGetBounds();
    ClickAt(static_cast<int>(bounds.x + bounds.width / 2), static_cast<int>(bounds.y + bounds.height / 2));
    return true;
}

// Clicks the pile the tipper asks for.
bool PickTheRightPile()
{
    auto* game = Top<CountTheMaterialsMode>();
    MaterialTarget* tipper = game != nullptr ? game->getTipper() : nullptr;
    if (tipper == nullptr)
        return false;
    for (size_t place = 0; DraggableMaterial* pile = game->getPile(place); ++place)
        if (pile->getMaterial() == tipper->getRequestedMaterial() && pile->getNumber() == tipper->getRequestedNumber())
        {
            // A pile takes presses only where it is drawn: its bottom row.
            const Rect<float> bounds = pile->getImageNode()->GlobalGetBounds();
            ClickAt(static_cast<int>(bounds.x + bounds.width / 2), static_cast<int>(bounds.y + bounds.height - 14));
            return true;
        }
    return false;
}

size_t StatusField(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0)
            return static_cast<size_t>(std::strtoull(line.c_str() + std::strlen(field), nullptr, 10)) * 1024;
    return 0;
}

struct sSample
{
    size_t peak;     // VmHWM
    size_t resident; // VmRSS
    size_t heap;     // bytes the allocator has handed out and not had back
    size_t textures; // OpenGL textures that hold a name, and their memory
    size_t textureBytes;
};

sSample Sample()
{
    const struct mallinfo2 info = mallinfo2();
    sSample sample{StatusField("VmHWM:"), StatusField("VmRSS:"), info.uordblks + info.hblkhd, 0, 0};
    std::lock_guard<std::mutex> lock(OpenGLTexture::GetAllTexturesMutex());
    for (const OpenGLTexture* texture : OpenGLTexture::gmAllTextures)
    {
        if (!texture->IsUploaded())
            continue;
        const Vector2<int> side = texture->GetDescriptor().textureSize;
        ++sample.textures;
        sample.textureBytes += static_cast<size_t>(side.x) * static_cast<size_t>(side.y) * 4;
    }
    return sample;
}

// One action, made once each time its condition turns true (or later, while it holds, until the action
// finds what it clicks on). A repeated action is made on every step its condition holds: its condition
// turns false once the screen has taken the click, and the screen acts on one click only.
struct sRule
{
    std::function<bool()> ready;
    std::function<bool()> act;
    bool repeat = false;
    bool done = false;
};

std::function<bool()> Clicker(const char* name)
{
    return [name] { return ClickOn(TopNode(name)); };
}

} // namespace

int main(int argc, char** argv)
{
    // A number is the count of games; any other argument but "-software" (a benchmark runner's flags)
    // asks for the short run of 5.
    int games = 50;
    bool software = false;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-software") == 0)
            software = true;
        else
            games = std::max(5, std::atoi(argv[i]));
    // On a display OpenGL, even where it draws in software (llvmpipe under Xvfb); without one, or with
    // SDL's dummy video asked for, the software renderer.
    const char* display = std::getenv("DISPLAY");
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (display == nullptr || display[0] == '\0' || (driver != nullptr && strcasecmp(driver, "dummy") == 0))
    {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        software = true;
    }
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("ALSOFT_DRIVERS", "null", 1);
    setenv("STRATA_DATA_DIR", MENAGERIE_DATA_DIR, 1);
    if (std::getenv("DBUS_SESSION_BUS_ADDRESS") == nullptr)
        setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent", 1);
    const std::filesystem::path home =
        std::filesystem::temp_directory_path() / ("menagerie_memory_" + std::to_string(::getpid()));
    std::filesystem::create_directories(home);
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    static char program[] = "play_memory_bench";
    static char softwareFlag[] = "-software";
    static char openGLFlag[] = "-opengl";
    char* arguments[] = {program, software ? softwareFlag : openGLFlag, nullptr};
    SetCommandLine(2, arguments);
    Random::SetSeedOverride(2026);
    std::printf("Renderer: %s\n", software ? "software" : "OpenGL");

    std::vector<sSample> samples;
    enum class eKind
    {
        FreePlay,
        Story,
    } kind = eKind::FreePlay;
    bool inGame = false;
    // In a story game: Help's pop-up and the quit question are opened once each before the first pile.
    bool helpShown = false;
    bool quitAsked = false;
    bool askNewGame = false;
    // What the main menu is asked for before the next game starts.
    std::deque<const char*> errands;
    bool spanish = false;
    const auto finishGame = [&]
    {
        if (!inGame)
            return false;
        inGame = false;
        samples.push_back(Sample());
        const sSample& s = samples.back();
        std::printf("game %3zu (%s): peak %7.1f MB, resident %7.1f MB, heap in use %7.1f MB, %zu uploaded "
                    "textures of %.1f MB\n",
                    samples.size(), kind == eKind::Story ? "story    " : "free play", s.peak / 1e6, s.resident / 1e6,
                    s.heap / 1e6, s.textures, s.textureBytes / 1e6);
        std::fflush(stdout);
        return true;
    };
    const auto menuErrand = [&]
    {
        if (ClickOn(TopNode(errands.front())))
            errands.pop_front();
        return true;
    };
    std::vector<sRule> rules = {
        {[] { return Top<TitleMode>() != nullptr; }, Clicker("StartButton")},
        {[] { return Top<MyAccountMode>() != nullptr && !Checked("Profile1"); }, Clicker("Profile1")},
        {[&] { return Top<MyAccountMode>() != nullptr && Checked("Profile1") && askNewGame; },
         Clicker("NewGameButton")},
        {[] { return Top<AccountConfirmMode>() != nullptr; },
         [&]
         {
             askNewGame = false;
             return ClickOn(TopNode("NoButton"));
         }},
        {[&] { return Top<MyAccountMode>() != nullptr && Checked("Profile1") && !askNewGame; }, Clicker("PlayButton")},
        // Between games: after free play the other language and the credits; after the story the quit
        // question (answered No) and the profile screen, whose "start over" question is answered No too.
        {[] { return Top<MainMenuMode>() != nullptr; },
         [&]
         {
             if (kind == eKind::Story && finishGame())
             {
                 errands = {"QuitButton", "ProfileButton"};
                 askNewGame = true;
             }
             if (!errands.empty())
                 return menuErrand();
             if (samples.size() >= static_cast<size_t>(games))
             {
                 MainLoop::Exit();
                 return true;
             }
             kind = samples.size() % 2 == 0 ? eKind::FreePlay : eKind::Story;
             if (kind == eKind::FreePlay)
                 return ClickOn(TopNode("FreePlayButton"));
             inGame = true;
             helpShown = quitAsked = false;
             // Every story game starts from the beginning, so each plays the counting game.
             if (Account* account = GetAccountManager()->GetCurrentAccount())
             {
                 account->WriteValue(MakeProfileKey(*account, L"_Progress").c_str(), 0);
                 GetLevelManager().loadLevelProgressionDataFromAccount();
             }
             return ClickOn(TopNode("StoryButton"));
         }},
        {[] { return Top<FreePlaySelectMode>() != nullptr; },
         [&]
         {
             if (finishGame())
                 errands = {"OptionsButton", "CreditsButton"};
             return ClickOn(TopNode(errands.empty() ? "CountTheMaterials" : "BackButton"));
         }},
        {[] { return Top<MyOptionsMode>() != nullptr; },
         [&] { return ClickOn(TopNode(Checked("EnglishRadio") ? "SpanishRadio" : "EnglishRadio")); }},
        {[&] { return Top<MyOptionsMode>() != nullptr && Checked(spanish ? "EnglishRadio" : "SpanishRadio"); },
         [&]
         {
             spanish = !spanish;
             return ClickOn(TopNode("DoneButton"));
         }},
        {[] { return Top<CreditsMode>() != nullptr; }, Clicker("BackButton")},
        {[] { return Top<DifficultySelectMode>() != nullptr && !Checked("Easy"); }, Clicker("Easy")},
        {[] { return Top<DifficultySelectMode>() != nullptr && Checked("Easy"); },
         [&]
         {
             inGame = true;
             return ClickOn(TopNode("PlayButton"));
         }},
        {[] { return Top<CutsceneMode>() != nullptr && !Top<CutsceneMode>()->isClosing(); }, Clicker("SkipButton"),
         true},
        {[] { return Top<ForemanInstructionMode>() != nullptr && !Top<ForemanInstructionMode>()->isClosing(); },
         Clicker("SkipButton"), true},
        {[] { return Top<QuitConfirmMode>() != nullptr && !Top<QuitConfirmMode>()->hasAnswered(); },
         Clicker("NoButton"), true},
        {[]
         {
             SceneNode* mask = TopNode("Material_ClickMask");
             return Top<CountTheMaterialsMode>() != nullptr && mask != nullptr && !mask->LocalIsVisible();
         },
         [&]
         {
             if (kind == eKind::Story && !helpShown)
                 return helpShown = ClickOn(TopNode("HelpButton"));
             if (kind == eKind::Story && !quitAsked)
                 return quitAsked = ClickOn(TopNode("QuitButton"));
             return PickTheRightPile();
         }},
        {[] { return Top<StickerUnlockMode>() != nullptr && !Top<StickerUnlockMode>()->hasMovedOn(); },
         Clicker("OkButton"), true},
        // The story goes on to games this loop does not play: back to the menu, as a child who stops would.
        {[&] {
             return kind == eKind::Story && Top<YardcrewGameMode>() != nullptr &&
                    Top<CountTheMaterialsMode>() == nullptr;
         },
         [] { return UnwindToScreen(std::make_unique<MainMenuMode>()); }},
    };

    // A game of easy rounds lasts well under a minute of play; a stuck one stops the run.
    const auto timeLimit = std::chrono::seconds(60);
    auto deadline = std::chrono::steady_clock::now() + timeLimit;
    size_t gamesSeen = 0;
    bool stuck = false;
    uint32_t clock = 100000;
    MainLoop::ResetForTesting();
    MainLoop::SetProcessReleaseForTesting(false);
    MainLoop::SetPlatformFactory(&Linux::CreatePlatform);
    MainLoop::SetTimeSourceForTesting([&clock] { return clock; },
                                      [&](unsigned long)
                                      {
                                          clock += 20;
                                          if (samples.size() != gamesSeen)
                                          {
                                              gamesSeen = samples.size();
                                              deadline = std::chrono::steady_clock::now() + timeLimit;
                                          }
                                          if (std::chrono::steady_clock::now() > deadline)
                                          {
                                              stuck = true;
                                              if (ApplicationMode* top = MainLoop::GetTopMostMode(0))
                                                  std::fprintf(stderr, "Stuck on %s\n", typeid(*top).name());
                                              MainLoop::Exit();
                                              return;
                                          }
                                          if (std::getenv("PLAY_MEMORY_TRACE") != nullptr)
                                          {
                                              static const void* shown = nullptr;
                                              const void* top = MainLoop::GetTopMostMode(0);
                                              if (top != shown && top != nullptr)
                                                  std::printf("%u: %s\n", clock,
                                                              typeid(*MainLoop::GetTopMostMode(0)).name());
                                              shown = top;
                                          }
                                          // One click a step, so a click never lands on the screen the
                                          // one before it opens.
                                          for (sRule& rule : rules)
                                              if (!rule.ready())
                                                  rule.done = false;
                                          for (sRule& rule : rules)
                                              if (!rule.done && rule.ready() && (rule.done = rule.act()))
                                              {
                                                  rule.done = !rule.repeat;
                                                  break;
                                              }
                                      });
    const auto started = std::chrono::steady_clock::now();
    {
        MemoryLoopApplication application(software);
        MainLoop::Execute();
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    MainLoop::ResetForTesting();
    MainLoop::SetTimeSourceForTesting(nullptr, nullptr);
    MainLoop::SetPlatformFactory(nullptr);
    Window::Internal::ResetForTesting();
    InstallFrameHooks(sFrameHooks());
    Internal::DeleteAllSingletons();
    std::filesystem::remove_all(home);

    if (stuck || samples.size() < static_cast<size_t>(games))
    {
        if (stuck)
            std::fprintf(stderr, "The play stopped after %zu games: no game ended within %lld s.\n", samples.size(),
                         static_cast<long long>(timeLimit.count()));
        else
            std::fprintf(stderr, "The game quit after %zu games.\n", samples.size());
        return 1;
    }
    const sSample& five = samples[4];
    const sSample& last = samples.back();
    const double growth = 100.0 * (static_cast<double>(last.peak) / static_cast<double>(five.peak) - 1.0);
    std::printf("%zu games in %.1f s. Peak resident after 5 games: %.1f MB; after %zu: %.1f MB (%+.1f%%; goal within "
                "5%%). Heap in use after 5: %.1f MB; after %zu: %.1f MB.\n",
                samples.size(), seconds, five.peak / 1e6, samples.size(), last.peak / 1e6, growth, five.heap / 1e6,
                samples.size(), last.heap / 1e6);
    return 0;
}
