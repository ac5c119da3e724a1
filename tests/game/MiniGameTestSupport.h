#pragma once

// Plays a mini-game the way a child does: a seeded random stream, a fixed 20 ms step of the mode and the
// loopback audio, clicks injected at the centre of a node, a log of the voices heard, and the screens
// the game asks for recorded instead of run (the next round is kept so the test can play it).

#include "core/FileSystem.h"
#include "framework/ApplicationMode.h"
#include "framework/MainLoop.h"
#include "framework/ValueResources.h"
#include "game/DragAndDrop.h"
#include "game/ForemanInstructionMode.h"
#include "game/GameRegistry.h"
#include "game/LevelManager.h"
#include "game/LevelProgression.h"
#include "game/MiniGameMode.h"
#include "game/MiniGamePattern.h"
#include "graphics/ImageListResourceFactory.h"
#include "graphics/ImageResourceFactory.h"
#include "scene/NodePath.h"
#include "scene/SceneApplicationMode.h"
#include "scene/SceneNode.h"
#include "scene/StrataExtensions.h"

#include "GameAudioTestSupport.h"
#include "GameServicesTestSupport.h"
#include "support/MemoryFileSystemPartition.h"

#include <algorithm>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <vector>

namespace GameTesting
{

using namespace Yardcrew;

// Stands in for a screen a game's end opens.
struct ScreenStandIn : ApplicationMode
{
    explicit ScreenStandIn(std::string text) : what(std::move(text)) {}
    std::string what;
};

// The whole file; empty when it cannot be read.
inline std::string ReadDataFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

class MiniGameTest : public GameAudioTest
{
protected:
    static constexpr float kStepSeconds = 0.02f;

    void SetUp() override
    {
        GameAudioTest::SetUp();
        SetupStrataExtensions();
        manager->AddResourceFactory(L"countedimagelist", new CountedImageListFactory());
        manager->AddResourceFactory(L"LevelProg", new LevelProgressionResourceFactory());
        (new FileSystem())->AddFileSystemPartition(FileSystemPartition_User, new MemoryFileSystemPartition(L"user"));
        Random::SetSeedOverride(5);
        Random::Engine_Setup();
        ASSERT_NE(GetAccountManager()->NewAccount(L"Child"), nullptr);
        ASSERT_TRUE(GetAccountManager()->SetCurrentAccount(L"Child"));
        GetAccountManager()->GetCurrentAccount()->WriteValue(L"AccountID", std::wstring(L"5"));
        LoadManifest("<countedimagelist name=\"AllStickersList\" count=\"6\"/>", L"stickers");
        // Levels filed by earlier tests name resources that are gone.
        GetLevelManager().clearLevels();

        const auto record = [this](const char* how)
        {
            return [this, how](std::unique_ptr<ApplicationMode> mode)
            {
                if (auto* screen = dynamic_cast<ScreenStandIn*>(mode.get()))
                    screens.push_back(std::string(how) + " " + screen->what);
                else if (dynamic_cast<ForemanInstructionMode*>(mode.get()) != nullptr)
                    screens.push_back(std::string(how) + " instructions");
                else if (mode)
                {
                    screens.push_back(std::string(how) + " next round");
                    nextRound = std::move(mode);
                }
            };
        };
        GetLevelManager().setModeQueue({record("unwind"), record("push"), [this] { screens.push_back("pop"); }});
        const auto named = [](std::string what) { return std::make_unique<ScreenStandIn>(what); };
        GetLevelManager().setStoryScreenConstructors({nullptr, nullptr, nullptr, [=](int) { return named("reward"); },
                                                      [=] { return named("free play"); },
                                                      [=](bool) { return named("quit"); }});
        GetLevelManager().freePlay = true;
        testing::internal::CaptureStderr();
    }

    void TearDown() override
    {
        testing::internal::GetCapturedStderr();
        nextRound.reset();
        GetLevelManager().setModeQueue({});
        GetLevelManager().setStoryScreenConstructors({});
        Random::Engine_Destroy();
        Random::ClearSeedOverride();
        GameAudioTest::TearDown();
    }

    // Made current, set up and entered, as the main loop does.
    void Start(ApplicationMode& mode)
    {
        context = std::make_unique<MainLoop::AutoContext>();
        MainLoop::WithinContext(&mode, *context);
        mode.Setup();
        mode.Enter();
    }

    // One step: the voice queue, the mode, the audio output; then notes which watched voices began.
    void Step(ApplicationMode& mode)
    {
        GetAudioManager()->updateVocalAudioQueues();
        mode.Update(kStepSeconds);
        Frame(2 * kStepFrames);
        std::set<std::string> now;
        for (const std::string& name : watched)
        {
            if (Playing(name.c_str()))
            {
                now.insert(name);
                if (!mPlaying.count(name))
                    spoken.push_back(name);
            }
        }
        mPlaying = std::move(now);
    }

    // Steps until the condition holds; false when it never does within the limit (a guard, not a time).
    bool StepUntil(ApplicationMode& mode, const std::function<bool()>& condition, int limit = 5000)
    {
        for (int step = 0; step < limit; ++step)
        {
            if (condition())
                return true;
            Step(mode);
        }
        return condition();
    }

    // The picture, list and constant readers.
    void AddPictureReaders()
    {
        manager->AddResourceFactory(L"image", new ImageResourceFactory());
        RegisterImageListResourceFactories();
        CreateConstantResourceFactories();
    }

    // Every file of data/<folder> whose name starts with `start`, as an in-memory file.
    void AddDataFiles(const char* folder, const std::string& start = "")
    {
        for (const auto& entry :
             std::filesystem::directory_iterator(std::filesystem::path(MENAGERIE_DATA_DIR) / folder))
            if (entry.path().filename().string().rfind(start, 0) == 0)
                files.AddFile(entry.path().filename().wstring(), ReadDataFile(entry.path()));
    }

    // The picture, list and constant readers, the two cursors as files "cursor_default" and
    // "cursor_hand" (small opaque pictures a stand-in game piece is hit by at its centre) and the
    // counting game's pictures (its thirteen "CTM_RequestItems_<n>" among them), stand-ins of other sizes and shapes.
    void AddStandInPictures()
    {
        AddPictureReaders();
        AddCursorFiles();
        AddDataFiles("counting");
    }

    // Plays the game `game` describes: its level reader under its registered tag; Mask and Open read
    // its input mask. `game` is a static of the game.
    void UseGame(const sMiniGameDescription& game)
    {
        mGame = &game;
        const sGameRegistration* registration = FindRegisteredGame(game.type);
        ASSERT_NE(registration, nullptr);
        mLevelTag.assign(registration->levelTag, registration->levelTag + std::wcslen(registration->levelTag));
        manager->AddResourceFactory(registration->levelTag, registration->makeLevelReader().release());
    }

    // A game's mode test set up: the kit's fixture, the game's level reader, the stand-in pictures and the
    // files of data/<dataFolder> (when named), then `fixture` loaded with `sounds`, silent, as `manifest`.
    template <class Names>
    void SetUpGame(const sMiniGameDescription& game, const Names& sounds, const std::string& fixture,
                   const wchar_t* manifest, const char* dataFolder = nullptr)
    {
        MiniGameTest::SetUp();
        UseGame(game);
        AddStandInPictures();
        if (dataFolder != nullptr)
            AddDataFiles(dataFolder);
        LoadWithSounds(sounds, fixture, manifest);
    }

    // Silent sounds of these names, as manifest text.
    template <class Names>
    static std::string SilentSounds(const Names& names)
    {
        std::string text;
        for (const auto& name : names)
            text += std::string("<sound name=\"") + name + "\" src=\"w\"/>";
        return text;
    }

    // Loads `fixture` and the sounds, silent, as the manifest `manifest`, and watches the sounds and the
    // general praise.
    template <class Names>
    void LoadWithSounds(const Names& sounds, const std::string& fixture, const wchar_t* manifest)
    {
        LoadManifest(SilentSounds(sounds) + fixture, manifest);
        watched.assign(std::begin(sounds), std::end(sounds));
        watched.push_back("General_CorrectAnswer");
    }

    // The game's input mask; null when it has none or its layout is not up.
    SceneNode* Mask() const
    {
        return mGame != nullptr && mGame->inputMask != nullptr ? PlayfieldNode(mGame->inputMask) : nullptr;
    }
    // Clicks reach the playfield: the mask is there and hidden.
    bool Open() const { return Mask() != nullptr && !Mask()->LocalIsVisible(); }

    // Ends the round `game` played: what it asked for goes to `run`, and `game` becomes the next round
    // when one was made (else null).
    template <class Mode>
    void TakeNextRound(std::unique_ptr<Mode>& game, std::vector<std::string>& run)
    {
        run.insert(run.end(), screens.begin(), screens.end());
        screens.clear();
        game.reset();
        if (dynamic_cast<Mode*>(nextRound.get()) != nullptr)
            game.reset(static_cast<Mode*>(nextRound.release()));
        context.reset();
    }

    // What a run of that many rounds asks for: the next round after each but the last, then the reward.
    static std::vector<std::string> RunOfRounds(int rounds)
    {
        std::vector<std::string> run(static_cast<size_t>(std::max(rounds - 1, 0)), "unwind next round");
        run.push_back("push reward");
        return run;
    }

    // What was logged since the last call.
    std::string TakeLog()
    {
        std::string text = testing::internal::GetCapturedStderr();
        testing::internal::CaptureStderr();
        return text;
    }

    bool Heard(const std::string& voice) const
    {
        return std::find(spoken.begin(), spoken.end(), voice) != spoken.end();
    }

    // Whether the game has moved on (next round, reward, chooser); its instruction pop-ups do not count.
    bool Ended()
    {
        std::erase_if(screens, [](const std::string& screen) { return screen == "push instructions"; });
        return !screens.empty();
    }

    // Files these levels anew, in a manifest of their own (a manifest is read once under its name).
    void LoadLevels(const std::string& levels)
    {
        GetLevelManager().clearLevels();
        LoadManifest(levels, (L"levels" + std::to_wstring(++mLevelManifests)).c_str());
    }

    // Files one level of the game anew, `<tag name="Test<difficulty>" difficulty="..." attributes>children</tag>`,
    // and plays at its difficulty.
    void LoadLevel(GameModeDifficulty difficulty, const std::string& attributes, const std::string& children = "")
    {
        const std::string said = kGameModeDifficultyNames[difficulty];
        LoadLevels("<" + mLevelTag + " name=\"Test" + said + "\" difficulty=\"" + said + "\" " + attributes + ">" +
                   children + "</" + mLevelTag + ">");
        GetLevelManager().difficulty = difficulty;
    }

    // Files `levels` anew and starts a game at Easy, which draws none of them: the mode logs that no level
    // was found (`modeName` names it in the notice).
    template <class Mode, class... Arguments>
    std::unique_ptr<Mode> StartWithoutLevel(const std::string& levels, const char* modeName, Arguments... arguments)
    {
        LoadLevels(levels);
        GetLevelManager().difficulty = GameModeDifficulty_Easy;
        TakeLog();
        auto game = std::make_unique<Mode>(arguments...);
        Start(*game);
        const std::string log = TakeLog();
        EXPECT_NE(log.find(std::string("Difficulty Level Not Found for ") + modeName +
                           ". Fix the problem and press F5 to reload"),
                  std::string::npos)
            << log;
        return game;
    }

    // A new game of `Mode` started, nothing heard or asked for before it.
    template <class Mode, class... Arguments>
    std::unique_ptr<Mode> StartNew(Arguments... arguments)
    {
        spoken.clear();
        screens.clear();
        auto game = std::make_unique<Mode>(arguments...);
        Start(*game);
        return game;
    }

    // Plays a run of `Mode` at each difficulty to the sticker reward, `rounds[d]` rounds long: each round
    // is started with the voices heard before it forgotten, and `play(game, difficulty, round)` plays it
    // to its end (`round` counts from 1). A fatal failure ends the runs.
    template <class Mode, class Play>
    void PlayRunsToTheReward(const int (&rounds)[GameModeDifficulty_Count], Play play)
    {
        for (int d = 0; d < GameModeDifficulty_Count && !HasFatalFailure(); ++d)
        {
            SCOPED_TRACE(std::string("difficulty ") + kGameModeDifficultyNames[d]);
            GetLevelManager().difficulty = static_cast<GameModeDifficulty>(d);
            auto game = std::make_unique<Mode>(true, -1);
            std::vector<std::string> run;
            int played = 0;
            while (game && !HasFatalFailure())
            {
                spoken.clear();
                Start(*game);
                play(*game, d, ++played);
                TakeNextRound(game, run);
            }
            EXPECT_EQ(played, rounds[d]);
            EXPECT_EQ(run, RunOfRounds(rounds[d]));
        }
    }

    // The item of that type in the hand; null when none is held.
    template <class Item>
    static Item* HeldItem()
    {
        const auto* held = DragSource<Item*>::GetHeldDragSource();
        return held != nullptr ? held->GetDragItem() : nullptr;
    }

    // The first of the items the predicate picks; null when none does.
    template <class Items, class Pick>
    static auto First(const Items& items, Pick pick)
    {
        for (auto* item : items)
            if (pick(*item))
                return item;
        return static_cast<std::remove_cvref_t<decltype(*std::begin(items))>>(nullptr);
    }

    // The real cursor pictures, "cursor_default" and "cursor_hand": small opaque stand-ins for a game's
    // pictures, which its alpha hit tests find at their centres.
    void AddCursorFiles()
    {
        for (const char* cursor : {"cursor_default.png", "cursor_hand.png"})
            files.AddFile(std::filesystem::path(cursor).wstring(),
                          ReadDataFile(std::filesystem::path(MENAGERIE_DATA_DIR) / "cursors" / cursor));
    }

    // A press and release at a point, through the mode's own hit testing.
    static void ClickAt(SceneApplicationMode& mode, int x, int y)
    {
        mode.OnMouseMove(x, y);
        mode.OnMouseDown(MouseButton_Left, x, y);
        mode.OnMouseUp(MouseButton_Left, x, y);
    }
    // The same at the node's centre.
    static void Click(SceneApplicationMode& mode, SceneNode& node)
    {
        const Rect<float> bounds = node.GlobalGetBounds();
        ClickAt(mode, static_cast<int>(bounds.x + bounds.width / 2), static_cast<int>(bounds.y + bounds.height / 2));
    }

    std::unique_ptr<MainLoop::AutoContext> context;
    std::vector<std::string> watched;
    std::vector<std::string> spoken;
    std::vector<std::string> screens;
    std::unique_ptr<ApplicationMode> nextRound;

private:
    const sMiniGameDescription* mGame = nullptr;
    std::set<std::string> mPlaying;
    int mLevelManifests = 0;
    std::string mLevelTag;
};

} // namespace GameTesting
