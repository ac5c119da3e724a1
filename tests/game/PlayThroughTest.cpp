// The real game application driven through MainLoop on an X server of its own, with the committed
// data/, OpenAL Soft's null device and a seeded random: real mouse events at the centres of named
// buttons, in fixed 20 ms steps, each step waiting for a condition, never for a frame count. Where
// a walk only needs the flow between screens, a stand-in game takes a mini-game's place; the games
// themselves are played for real by the tests below. The screenshots go to
// $MENAGERIE_SCREENSHOT_DIR when it is set.

#include "game/AccountKeys.h"
#include "game/AudioManager.h"
#include "game/CountTheMaterials/CountTheMaterialsMode.h"
#include "game/CountTheMaterials/DraggableMaterial.h"
#include "game/CountTheMaterials/MaterialTarget.h"
#include "game/ForemanInstructionMode.h"
#include "game/GameApplication.h"
#include "game/HammerTheNail/DraggableTool.h"
#include "game/HammerTheNail/HammerTheNailMode.h"
#include "game/HammerTheNail/TargetNail.h"
#include "game/HaulersDelivery/DeliveryCart.h"
#include "game/HaulersDelivery/DeliveryObject.h"
#include "game/HaulersDelivery/HaulersDeliveryMode.h"
#include "game/HereToThere/HereToThereCart.h"
#include "game/HereToThere/HereToThereMode.h"
#include "game/HereToThere/HereToThereObject.h"
#include "game/HereToThere/HereToThereTarget.h"
#include "game/HideAndSeek/HideAndSeekCharacter.h"
#include "game/HideAndSeek/HideAndSeekMode.h"
#include "game/HideAndSeek/HideAndSeekObstacle.h"
#include "game/HoistStacker/HoistStackerMode.h"
#include "game/HoistStacker/StackableObject.h"
#include "game/HoistStacker/StackingTarget.h"
#include "game/LevelManager.h"
#include "game/MiniGamePattern.h"
#include "game/PaintIt/HousePaintBucket.h"
#include "game/PaintIt/HousePaintStripe.h"
#include "game/PaintIt/PaintTheHouseMode.h"
#include "game/PileOfLeaves/Leaf.h"
#include "game/PileOfLeaves/LeafCoveredTool.h"
#include "game/PileOfLeaves/PileOfLeavesMode.h"
#include "game/PlanAJob/JobSequenceItem.h"
#include "game/PlanAJob/JobSequenceSlot.h"
#include "game/PlanAJob/PlanAJobMode.h"
#include "game/SproutPuzzle/SproutPuzzleMode.h"
#include "game/SproutPuzzle/SproutPuzzlePiece.h"
#include "game/SproutPuzzle/SproutPuzzlePieceSlot.h"
#include "game/StickerManager.h"
#include "game/StreetSigns/StreetSign.h"
#include "game/StreetSigns/StreetSignsMode.h"
#include "game/ToolShed/ToolShedItem.h"
#include "game/ToolShed/ToolShedLevel.h"
#include "game/ToolShed/ToolShedMode.h"
#include "game/ToolShed/ToolShedToolBox.h"
#include "game/YardcrewGameMode.h"
#include "game/screens/AccountConfirmMode.h"
#include "game/screens/CreditsMode.h"
#include "game/screens/CutsceneMode.h"
#include "game/screens/DifficultySelectMode.h"
#include "game/screens/FreePlaySelectMode.h"
#include "game/screens/MainMenuMode.h"
#include "game/screens/MyAccountMode.h"
#include "game/screens/MyOptionsMode.h"
#include "game/screens/QuitConfirmMode.h"
#include "game/screens/StickerBookMode.h"
#include "game/screens/StickerBookSurface.h"
#include "game/screens/StickerList.h"
#include "game/screens/StickerUnlockMode.h"
#include "game/screens/TitleMode.h"

#include "audio/Audio.h"
#include "core/Random.h"
#include "core/Singleton.h"
#include "core/Time.h"
#include "framework/Account.h"
#include "framework/AccountManager.h"
#include "framework/AudioInterfaces.h"
#include "framework/FrameHooks.h"
#include "framework/MainLoop.h"
#include "framework/ResourceDescriptor.h"
#include "framework/ResourceManager.h"
#include "graphics/ImageList.h"
#include "graphics/Window.h"
#include "platform/linux/ApplicationPlatform.h"
#include "platform/linux/ChildXServer.h"
#include "platform/linux/FrameViewport.h"
#include "platform/linux/ScopedEnvironment.h"
#include "platform/linux/TempFolder.h"
#include "scene/ButtonNode.h"
#include "scene/RadioButtonNode.h"
#include "scene/SceneApplicationMode.h"
#include "scene/SceneNode.h"
#include "scene/SliderNode.h"
#include "scene/SpriteNodes.h"

#include "GameOnXServerFixture.h"
#include "StickerTestSupport.h"

#include <SDL.h>
#include <gtest/gtest.h>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <numeric>
#include <set>
#include <string>
#include <vector>

using namespace Yardcrew;

using namespace Strata;
using namespace std::chrono_literals;

namespace
{

// A mini-game that only remembers the level it was given; the test ends it.
class StandInGame final : public YardcrewGameMode
{
public:
    StandInGame(Label level, std::vector<std::string>* played) : levelID(level)
    {
        played->push_back(level.IsNull() ? "-" : level.c_str());
    }
    void refreshMode() override {}
    void setupCursor() override {}
    Label levelID;
};

using LiveGame::Top;
using LiveGame::TopNode;

// Whether the named button of the top screen wears the image list of that name.
bool Wears(const char* button, const char* images)
{
    auto* node = TopNode<ButtonNode>(button);
    const AutoResource<IImageList> list(images);
    return node != nullptr && list.Get() != nullptr && node->GetImages() == list.Get();
}

// The manifest the resource of that name came from.
std::wstring ManifestOf(const char* resource)
{
    const std::shared_ptr<IResourceDescriptor> found = GetResourceManager()->GetResource(Label(resource));
    return found != nullptr ? found->GetManifest() : L"<none>";
}

// The music group's own level, which the options' slider sets.
float MusicGroupLevel()
{
    const AudioControlsPtr group = Audio::GetControls(Audio::GetMusicKind());
    AudioSettings settings;
    if (group != nullptr)
        group->SaveSettings(&settings);
    return settings.volume;
}

// The current profile's stickers, read afresh from its account.
int Stickers()
{
    GetStickerManager().loadUnlockedStickerData();
    return GetStickerManager().getUnlockedCount();
}

int ProfileProgress(int profile)
{
    Account* account = GetAccountManager()->GetCurrentAccount();
    if (account == nullptr)
        return -1;
    return account->ReadValue((std::to_wstring(profile) + L"_Progress").c_str(), -1);
}

struct Step
{
    std::string name; // also the screenshot's, when it names a screen
    std::function<bool()> ready;
    std::function<void()> act;
    bool shot = false;
};

class PlayThroughTest : public GameOnXServerFixture
{
protected:
    void SetUp() override
    {
        StartGame("menagerie_game_tests", 2026);
        if (IsSkipped())
            return;
        mDeadline = std::chrono::steady_clock::now() + 90s;
    }

    // A real click: the pointer moves to the centre of the top screen's named node, presses and lets go.
    static ::testing::AssertionResult Click(const char* name)
    {
        SceneNode* node = TopNode(name);
        if (node == nullptr)
            return ::testing::AssertionFailure() << "no \"" << name << "\" on the top screen";
        ClickNode(node);
        return ::testing::AssertionSuccess();
    }
    // A step's action: the click above.
    static std::function<void()> ClickOn(const char* name)
    {
        return [name] { EXPECT_TRUE(Click(name)); };
    }
    static Vector2<int> Centre(SceneNode* node)
    {
        const Rect<float> bounds = node->GlobalGetBounds();
        return {static_cast<int>(bounds.x + bounds.width / 2), static_cast<int>(bounds.y + bounds.height / 2)};
    }
    static void ClickNode(SceneNode* node)
    {
        const Vector2<int> at = Centre(node);
        ClickAt(at.x, at.y);
    }

    // Runs the game from the title through the steps: each is reached in turn, none left over.
    void PlaySteps()
    {
        ASSERT_NO_THROW({
            mClock = kStart;
            MainLoop::Execute();
        });
        EXPECT_EQ(mNext, steps.size());
    }
    void AddSteps(const std::vector<Step>& more) { steps.insert(steps.end(), more.begin(), more.end()); }

    // Ready once `Game` is up with its input mask of that name hidden: clicks reach its playfield.
    template <class Game>
    static std::function<bool()> OpenTo(const char* mask)
    {
        return [mask]
        {
            SceneNode* node = TopNode(mask);
            return Top<Game>() != nullptr && node != nullptr && !node->LocalIsVisible();
        };
    }

    // Ready once the top screen's radio button of that name is checked.
    static std::function<bool()> Checked(const char* name)
    {
        return [name]
        {
            auto* radio = TopNode<RadioButtonNode>(name);
            return radio != nullptr && radio->IsChecked();
        };
    }

    // The difficulty screen that the story opens: `difficulty` chosen, or with null the one already
    // checked played at one press; a named step is shot.
    static std::vector<Step> StoryDifficulty(const char* difficulty, const std::string& shot = "")
    {
        const auto ready = []
        {
            auto* screen = Top<DifficultySelectMode>();
            return screen != nullptr && screen->getGame() == GameModeType_Count;
        };
        const std::string name = shot.empty() ? "story difficulty" : shot;
        // The screen asks aloud, and the press goes to the difficulty or, with none, straight to Play.
        const auto act = [difficulty]
        {
            const AutoResource<ISound> prompt(Label("Difficulty_Choose"));
            EXPECT_NE(prompt.Get(), nullptr);
            EXPECT_TRUE(GetAudioManager()->getIsPlayingOrUpcoming(prompt.Get()));
            EXPECT_TRUE(Click(difficulty != nullptr ? difficulty : "PlayButton"));
        };
        if (difficulty == nullptr)
            return {{name, ready, act, !shot.empty()}};
        return {{name, ready, act, !shot.empty()},
                {"story difficulty chosen", Checked(difficulty), ClickOn("PlayButton")}};
    }

    // From the title to profile 1's main menu.
    static std::vector<Step> ToProfileMenu()
    {
        return {
            {"title", [] { return Top<TitleMode>() != nullptr; }, ClickOn("StartButton")},
            {"profiles", [] { return Top<MyAccountMode>() != nullptr; }, ClickOn("Profile1")},
            {"profile 1", Checked("Profile1"), ClickOn("PlayButton")},
        };
    }

    // From the main menu through free play to the game of that button at that difficulty, its Play
    // button pressed; the steps are named after `what`.
    static std::vector<Step> MenuToGame(const std::string& what, const char* button, const char* difficulty)
    {
        return {
            {what + " menu", [] { return Top<MainMenuMode>() != nullptr; }, ClickOn("FreePlayButton")},
            {what + " free play", [] { return Top<FreePlaySelectMode>() != nullptr; }, ClickOn(button)},
            {what + " difficulty", [] { return Top<DifficultySelectMode>() != nullptr; }, ClickOn(difficulty)},
            {what + " chosen", Checked(difficulty), ClickOn("PlayButton")},
        };
    }

    // From the title with profile 1 through free play to the game of that button at Easy.
    static std::vector<Step> ToEasyGameInFreePlay(const char* button)
    {
        std::vector<Step> steps = ToProfileMenu();
        const std::vector<Step> game = MenuToGame(button, button, "Easy");
        steps.insert(steps.end(), game.begin(), game.end());
        return steps;
    }

    static void PressKey(SDL_Keycode key) { LiveGame::PressKey(key); }

    // From the menu, the story at that step of profile 1's: its game under the instructions, not in free
    // play; then `then`, when given.
    template <class Game>
    static std::vector<Step> StoryAt(int progress, std::function<void()> then = nullptr)
    {
        std::vector<Step> steps = {
            {"menu for the story", [] { return Top<MainMenuMode>() != nullptr; },
             [progress]
             {
                 ASSERT_TRUE(GetAccountManager()->GetCurrentAccount()->WriteValue(L"1_Progress", progress));
                 EXPECT_TRUE(Click("StoryButton"));
             }},
        };
        // A resumed story asks again; the difficulty checked goes on at one press.
        const std::vector<Step> difficulty = StoryDifficulty(nullptr);
        steps.insert(steps.end(), difficulty.begin(), difficulty.end());
        steps.push_back({"the game in the story",
                         [] {
                             return Top<ForemanInstructionMode>() != nullptr &&
                                    dynamic_cast<Game*>(MainLoop::GetTopMostMode(1)) != nullptr;
                         },
                         [progress, then]
                         {
                             EXPECT_FALSE(GetLevelManager().freePlay);
                             EXPECT_EQ(ProfileProgress(1), progress);
                             if (then)
                                 then();
                         }});
        return steps;
    }

    // The pointer moves to (x, y) in the window, and clicks there.
    static void MoveTo(int x, int y) { LiveGame::PushPointer(x, y, false); }
    static void ClickAt(int x, int y) { LiveGame::PushPointer(x, y, true); }

    void Screenshot(const std::string& name)
    {
        int width = 0, height = 0;
        const std::vector<unsigned char> rgb = WindowRGB(&width, &height);
        ASSERT_FALSE(rgb.empty());
        const std::string path = ShotPath(name);
        EXPECT_NE(stbi_write_png(path.c_str(), width, height, 3, rgb.data(), width * 3), 0) << path;
    }

    void OnFrame() override
    {
        if (eachFrame)
            eachFrame();
        if (std::chrono::steady_clock::now() > mDeadline)
        {
            if (!mGaveUp)
                ADD_FAILURE() << "stuck waiting for: " << (mNext < steps.size() ? steps[mNext].name : "the end");
            mGaveUp = true;
            MainLoop::Exit();
            return;
        }
        if (mNext >= steps.size())
        {
            MainLoop::Exit();
            return;
        }
        Step& step = steps[mNext];
        if (!step.ready())
            return;
        // A screen is shot once it has been drawn a few times, so its fade-in is over.
        if (step.shot && ++mSettle < 15)
            return;
        mSettle = 0;
        if (step.shot)
            Screenshot(step.name);
        if (step.act)
            step.act();
        ++mNext;
    }

    std::chrono::steady_clock::time_point mDeadline;
    bool mGaveUp = false;
    size_t mNext = 0;
    int mSettle = 0;
    std::vector<Step> steps;
    // Runs every frame before the step's check, to watch what a step cannot see once it is ready.
    std::function<void()> eachFrame;
};

TEST_F(PlayThroughTest, FreePlayThenTheStoryThenProfilesAndLanguageFromTheTitleScreen)
{
    std::vector<std::string> played;
    float musicLevel = -1.0f;
    int freePlayStickers = -1;
    bool windowedBefore = false;
    StandInGame* game = nullptr;
    const auto standIn = [&played](Label level) { return std::make_unique<StandInGame>(level, &played); };
    const auto endGame = [&game]
    {
        game = Top<StandInGame>();
        ASSERT_NE(game, nullptr);
        game->endLevel();
        game->endLevel(); // a second end changes nothing
    };

    steps = {
        // The stand-ins take the story's first two games before any screen lists them.
        {"title", [] { return Top<TitleMode>() != nullptr; },
         [&]
         {
             GetLevelManager().setGameModeConstructor(GameModeType_ToolShed, standIn);
             GetLevelManager().setGameModeConstructor(GameModeType_PaintIt, standIn);
             EXPECT_TRUE(Click("StartButton"));
         },
         true},
        {"profiles", [] { return Top<MyAccountMode>() != nullptr; }, ClickOn("Profile2"), true},
        {"profile 2 chosen", Checked("Profile2"), ClickOn("PlayButton")},
        {"main_menu", [] { return Top<MainMenuMode>() != nullptr; },
         [&]
         {
             EXPECT_EQ(CurrentProfile(), 2);
             EXPECT_TRUE(Click("OptionsButton"));
         },
         true},
        // The music slider pressed at its middle: the level holds through games and a change of profile.
        {"options for the music", [] { return Top<MyOptionsMode>() != nullptr; }, ClickOn("MusicSlider")},
        {"music level set", [&] { return MusicGroupLevel() < 0.9f; },
         [&]
         {
             musicLevel = TopNode<SliderNode>("MusicSlider")->GetValue();
             EXPECT_NEAR(musicLevel, 0.5f, 0.05f);
             EXPECT_FLOAT_EQ(MusicGroupLevel(), musicLevel);
             EXPECT_TRUE(Click("DoneButton"));
         }},
        {"menu after the music", [] { return Top<MainMenuMode>() != nullptr; }, ClickOn("FreePlayButton")},
        {"free_play", [] { return Top<FreePlaySelectMode>() != nullptr; }, ClickOn("PaintIt"), true},
        {"difficulty", [] { return Top<DifficultySelectMode>() != nullptr; }, ClickOn("Medium"), true},
        {"medium chosen", Checked("Medium"), ClickOn("PlayButton")},
        {"stand-in game", [] { return Top<StandInGame>() != nullptr; },
         [&]
         {
             EXPECT_EQ(GetLevelManager().difficulty, GameModeDifficulty_Medium);
             std::set<std::string> medium;
             for (int i = 0; i < 200; ++i)
                 if (const Label level = GetLevelManager().getLevelForGameModeType(GameModeType_PaintIt))
                     medium.insert(level.c_str());
             // The chooser names no level: the game draws one of these itself.
             EXPECT_FALSE(medium.empty());
             EXPECT_TRUE(Top<StandInGame>()->levelID.IsNull());
             endGame();
         }},
        {"sticker_reward", [] { return Top<StickerUnlockMode>() != nullptr; },
         [&]
         {
             freePlayStickers = Stickers();
             EXPECT_GT(freePlayStickers, 0);
             EXPECT_TRUE(Click("OkButton"));
         },
         true},
        {"back to free play", [] { return Top<FreePlaySelectMode>() != nullptr; }, ClickOn("BackButton")},

        // The story from its start: its difficulty, the opening cut-scene, skipped, then its first game.
        {"menu again", [] { return Top<MainMenuMode>() != nullptr; }, ClickOn("StoryButton")},
    };
    AddSteps(StoryDifficulty("Easy", "difficulty_story_en"));
    AddSteps({
        {"cutscene", [] { return Top<CutsceneMode>() != nullptr && Top<CutsceneMode>()->getShownPicture() >= 0; },
         [&]
         {
             EXPECT_FALSE(GetLevelManager().freePlay);
             EXPECT_TRUE(Wears("SkipButton", "Button_SkipCutscene_EN"));
             EXPECT_EQ(ManifestOf("Cutscene_Intro_1"), L"AudioResources");
             EXPECT_TRUE(Click("SkipButton"));
         },
         true},
        {"story game 1", [] { return Top<StandInGame>() != nullptr; },
         [&]
         {
             // The story's first game is the tool shed's: at Easy, its levels are the easy ones.
             EXPECT_EQ(GetLevelManager().difficulty, GameModeDifficulty_Easy);
             const Label level = GetLevelManager().getLevelForGameModeType(GameModeType_ToolShed);
             EXPECT_NE(std::string(level.IsNull() ? "" : level.c_str()).find("_Easy_"), std::string::npos);
             endGame();
         }},
        {"story reward", [] { return Top<StickerUnlockMode>() != nullptr; }, ClickOn("OkButton")},
        {"story game 2", [&game] { return Top<StandInGame>() != nullptr && Top<StandInGame>() != game; },
         [&]
         {
             EXPECT_EQ(ProfileProgress(2), 2);
             // The child leaves the game for the menu.
             GetLevelManager().getModeQueue().unwindTo(GetLevelManager().getStoryScreens().mainMenu());
         }},

        // Profile 1 has its own progress and stickers; profile 2 keeps its own.
        {"menu for profiles", [] { return Top<MainMenuMode>() != nullptr; }, ClickOn("ProfileButton")},
        {"profiles again", [] { return Top<MyAccountMode>() != nullptr; }, ClickOn("Profile1")},
        {"profile 1 chosen", Checked("Profile1"), ClickOn("PlayButton")},
        {"menu of profile 1", [] { return Top<MainMenuMode>() != nullptr && CurrentProfile() == 1; },
         [&]
         {
             EXPECT_EQ(ProfileProgress(1), -1);
             EXPECT_EQ(ProfileProgress(2), 2) << "profile 2's progress is in its own key";
             EXPECT_EQ(Stickers(), freePlayStickers - 1) << "profile 1 has only the starters";
             EXPECT_TRUE(Click("ProfileButton"));
         }},
        {"profiles to 2", [] { return Top<MyAccountMode>() != nullptr; }, ClickOn("Profile2")},
        {"profile 2 again", Checked("Profile2"), ClickOn("PlayButton")},
        {"menu of profile 2", [] { return Top<MainMenuMode>() != nullptr && CurrentProfile() == 2; },
         [&]
         {
             EXPECT_EQ(ProfileProgress(2), 2);
             EXPECT_EQ(Stickers(), freePlayStickers + 1) << "the free-play sticker and the story's";
             EXPECT_TRUE(Click("OptionsButton"));
         }},

        // Spanish and back.
        // Full screen, the default, is shown chosen on entry.
        {"options", [] { return Top<MyOptionsMode>() != nullptr; },
         [&]
         {
             EXPECT_FLOAT_EQ(TopNode<SliderNode>("MusicSlider")->GetValue(), musicLevel);
             EXPECT_FLOAT_EQ(MusicGroupLevel(), musicLevel);
             EXPECT_EQ(Window::GetConfig().mode, Window::WindowMode_FullScreen);
             EXPECT_TRUE(TopNode<RadioButtonNode>("FullScreenRadio")->IsChecked());
             EXPECT_FALSE(TopNode<RadioButtonNode>("WindowedRadio")->IsChecked());
             EXPECT_TRUE(Click("SpanishRadio"));
         },
         true},
        {"spanish", [] { return Wears("DoneButton", "Button_DoneButton_SP"); },
         [&]
         {
             EXPECT_EQ(ManifestOf("Word_Color_Red"), L"AudioResources_SP");
             EXPECT_TRUE(Click("DoneButton"));
         },
         true},
        {"main_menu_spanish",
         [] { return Top<MainMenuMode>() != nullptr && Wears("StoryButton", "Button_StoryButton_SP"); },
         ClickOn("ProfileButton"), true},
        // Profile 2 starts over, so its story opens with the cut-scene again, now in Spanish.
        {"profiles in spanish", [] { return Top<MyAccountMode>() != nullptr; }, ClickOn("NewGameButton")},
        {"account_confirm", [] { return Top<AccountConfirmMode>() != nullptr; }, ClickOn("YesButton"), true},
        {"menu after starting over", [] { return Top<MainMenuMode>() != nullptr; },
         [&]
         {
             EXPECT_EQ(CurrentProfile(), 2);
             EXPECT_EQ(ProfileProgress(2), 0);
             EXPECT_TRUE(Click("StoryButton"));
         }},
        // Back from the story's difficulty starts nothing; the story asked again goes on at one press.
        {"difficulty_story_es",
         []
         {
             auto* screen = Top<DifficultySelectMode>();
             return screen != nullptr && screen->getGame() == GameModeType_Count &&
                    Wears("PlayButton", "Button_Play_SP");
         },
         [&]
         {
             EXPECT_TRUE(TopNode<RadioButtonNode>("Easy")->IsChecked());
             EXPECT_TRUE(Click("BackButton"));
         },
         true},
        {"menu after the difficulty's back", [] { return Top<MainMenuMode>() != nullptr; },
         [&]
         {
             EXPECT_EQ(ProfileProgress(2), 0);
             EXPECT_EQ(played.size(), 3u);
             EXPECT_TRUE(Click("StoryButton"));
         }},
    });
    AddSteps(StoryDifficulty(nullptr));
    AddSteps({
        {"cutscene_spanish",
         [] { return Top<CutsceneMode>() != nullptr && Top<CutsceneMode>()->getShownPicture() >= 0; },
         [&]
         {
             EXPECT_TRUE(Wears("SkipButton", "Button_SkipCutscene_SP"));
             EXPECT_EQ(ManifestOf("Cutscene_Intro_1"), L"AudioResources_SP");
             EXPECT_TRUE(Click("SkipButton"));
         },
         true},
        {"story game in spanish", [] { return Top<StandInGame>() != nullptr; },
         [] { GetLevelManager().getModeQueue().unwindTo(GetLevelManager().getStoryScreens().mainMenu()); }},
        {"menu before english", [] { return Top<MainMenuMode>() != nullptr; }, ClickOn("OptionsButton")},
        // The window key while the options are open: their window radios follow it there and back.
        {"options in spanish", [] { return Top<MyOptionsMode>() != nullptr; },
         [&]
         {
             windowedBefore = TopNode<RadioButtonNode>("WindowedRadio")->IsChecked();
             PressKey(SDLK_F11);
         }},
        {"window key", [&] { return TopNode<RadioButtonNode>("WindowedRadio")->IsChecked() != windowedBefore; },
         [] { PressKey(SDLK_F11); }},
        {"window key again", [&] { return TopNode<RadioButtonNode>("WindowedRadio")->IsChecked() == windowedBefore; },
         ClickOn("EnglishRadio")},
        {"english", [] { return Wears("DoneButton", "Button_DoneButton_EN"); },
         [&]
         {
             EXPECT_EQ(ManifestOf("Word_Color_Red"), L"AudioResources");
             EXPECT_TRUE(Click("DoneButton"));
         }},
        {"menu in english",
         [] { return Top<MainMenuMode>() != nullptr && Wears("StoryButton", "Button_StoryButton_EN"); },
         ClickOn("CreditsButton")},

        // The last two screens, and leaving the quit question without quitting.
        {"credits", [] { return Top<CreditsMode>() != nullptr; }, ClickOn("BackButton"), true},
        {"menu after credits", [] { return Top<MainMenuMode>() != nullptr; }, ClickOn("QuitButton")},
        {"quit_confirm", [] { return Top<QuitConfirmMode>() != nullptr; }, ClickOn("NoButton"), true},
        {"menu after the question", [] { return Top<MainMenuMode>() != nullptr; }, nullptr},
    });

    const auto started = std::chrono::steady_clock::now();
    ASSERT_NO_THROW({
        mClock = kStart;
        MainLoop::Execute();
    });
    std::printf(
        "play-through: %lld ms\n",
        static_cast<long long>(
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started).count()));
    EXPECT_EQ(mNext, steps.size());
    // Free play's game, the story's first two, and its first again after starting over: each made once.
    EXPECT_EQ(played.size(), 4u);
}

TEST_F(PlayThroughTest, TheCountingGameFromFreePlayToItsSticker)
{
    // The round that was played last; the next one is a new instance of the game.
    const CountTheMaterialsMode* played = nullptr;
    SceneNode* load = nullptr;
    MaterialTarget* tipper = nullptr;
    const auto waitingForAPile = [&played]
    {
        auto* game = Top<CountTheMaterialsMode>();
        SceneNode* mask = TopNode("Material_ClickMask");
        return game != nullptr && game != played && mask != nullptr && !mask->LocalIsVisible();
    };
    const auto pickTheRightPile = [&]
    {
        auto* game = Top<CountTheMaterialsMode>();
        ASSERT_NE(game, nullptr);
        played = game;
        tipper = game->getTipper();
        ASSERT_NE(tipper, nullptr);
        for (size_t place = 0; DraggableMaterial* pile = game->getPile(place); ++place)
        {
            if (pile->getMaterial() != tipper->getRequestedMaterial() ||
                pile->getNumber() != tipper->getRequestedNumber())
                continue;
            load = pile->GetNode();
            // A pile takes presses only where it is drawn: aim at its bottom row, which every count has.
            const Rect<float> bounds = pile->getImageNode()->GlobalGetBounds();
            ClickAt(static_cast<int>(bounds.x + bounds.width / 2), static_cast<int>(bounds.y + bounds.height - 14));
            return;
        }
        ADD_FAILURE() << "no pile answers the request";
    };

    steps = ToEasyGameInFreePlay("CountTheMaterials");
    AddSteps({
        {"counting_instructions", [] { return Top<ForemanInstructionMode>() != nullptr; }, ClickOn("SkipButton"), true},
        {"counting_game", waitingForAPile, pickTheRightPile, true},
        {"counting_delivery", [&] { return load != nullptr && load->GetParent() == tipper->getCartNode(); }, nullptr,
         true},
    });
    // An easy run has "RepeatedGameNumLoops"[0] + 1 rounds.
    for (int round = 2; round <= 4; ++round)
        steps.push_back({"counting round " + std::to_string(round), waitingForAPile, pickTheRightPile});
    steps.push_back({"counting_reward", [] { return Top<StickerUnlockMode>() != nullptr; }, ClickOn("OkButton"), true});
    steps.push_back({"free play after the game", [] { return Top<FreePlaySelectMode>() != nullptr; }, nullptr});

    PlaySteps();
}

TEST_F(PlayThroughTest, TheDeliveryGameFromFreePlayToItsStickerAndInTheStory)
{
    const auto open = OpenTo<HereToThereMode>("Material_ClickMask");
    HereToThereObject* animal = nullptr;
    Strata::ObjectID delivered;
    // Each animal in turn: a click on it, and once it is aboard, a click on its house.
    const auto loadNext = [&]
    {
        auto* game = Top<HereToThereMode>();
        ASSERT_NE(game, nullptr);
        ASSERT_FALSE(game->getAnimals().empty());
        animal = game->getAnimals().front();
        ClickNode(animal->getClickNode());
    };
    const auto aboard = [&]
    {
        auto* game = Top<HereToThereMode>();
        return open() && game->getCart()->getLoadedObject() == animal;
    };
    const auto toItsHouse = [&]
    {
        for (HereToThereTarget* house : Top<HereToThereMode>()->getHouses())
            if (house->getMark() == animal->getMark())
            {
                delivered = animal->GetID();
                ClickNode(house->getImageNode());
                return;
            }
        ADD_FAILURE() << "no house for the animal";
    };
    const auto home = [&] { return open() && Top<HereToThereMode>()->GetObject(delivered) == nullptr; };

    steps = ToEasyGameInFreePlay("HereToThere");
    steps.insert(
        steps.end(),
        {
            {"delivery_instructions", [] { return Top<ForemanInstructionMode>() != nullptr; }, ClickOn("SkipButton"),
             true},
            {"delivery_game", open, loadNext, true},
            {"delivery_aboard", aboard, toItsHouse, true},
            {"delivery second animal", home, loadNext},
            {"second aboard", aboard, toItsHouse},
            {"delivery_reward", [] { return Top<StickerUnlockMode>() != nullptr; }, ClickOn("OkButton"), true},
            {"free play after the game", [] { return Top<FreePlaySelectMode>() != nullptr; }, ClickOn("BackButton")},
        });
    AddSteps(StoryAt<HereToThereMode>(14));

    PlaySteps();
}

TEST_F(PlayThroughTest, TheHammeringGameFromFreePlayToItsStickerAndTheStoryReachesIt)
{
    // A player who makes one move a frame once the last has told: the tool for the first standing nail,
    // then strokes on it. Ready when the round's nails are all home.
    const HammerTheNailMode* current = nullptr;
    std::function<bool()> told;
    const auto playRound = [&]
    {
        auto* game = Top<HammerTheNailMode>();
        SceneNode* mask = TopNode("MaskInput_ClickMask");
        if (game == nullptr || mask == nullptr)
            return false;
        if (game != current)
        {
            current = game;
            told = nullptr;
        }
        if (told && !told())
            return false;
        told = nullptr;
        const std::vector<TargetNail*> nails = game->getNails();
        const auto standing = std::find_if(
            nails.begin(), nails.end(), [](TargetNail* n) { return !n->isDriven(); });
        if (standing == nails.end())
            return true;
        if (mask->LocalIsVisible())
            return false;
        TargetNail* nail = *standing;
        const std::vector<DraggableTool*> tools = game->getTools();
        const auto tool = std::find_if(
            tools.begin(), tools.end(), [nail](DraggableTool* t) { return nail->fits(*t); });
        EXPECT_NE(tool, tools.end());
        if (tool == tools.end())
            return false;
        // Taken in hand, then struck with: each move waits until the game has shown it.
        const int left = nail->getStrokesLeft() - ((*tool)->isHeld() ? 1 : 0);
        ClickNode((*tool)->isHeld() ? nail->getShapeNode() : (*tool)->getShapeNode());
        told = [nail, left, held = *tool]
        { return nail->getStrokesLeft() <= left && (held->isHeld() || nail->isDriven()); };
        return false;
    };
    const auto toMenu = []
    { GetLevelManager().getModeQueue().unwindTo(GetLevelManager().getStoryScreens().mainMenu()); };
    // A stroke under way: the mask is up while a nail still stands (after the last it is the outro's).
    const auto turning = []
    {
        auto* game = Top<HammerTheNailMode>();
        SceneNode* mask = TopNode("MaskInput_ClickMask");
        if (game == nullptr || mask == nullptr || !mask->LocalIsVisible())
            return false;
        const std::vector<TargetNail*> nails = game->getNails();
        return std::any_of(nails.begin(), nails.end(), [](TargetNail* n) { return !n->isDriven(); });
    };

    steps = ToProfileMenu();
    AddSteps({
        {"menu", [] { return Top<MainMenuMode>() != nullptr; }, ClickOn("FreePlayButton")},
        {"hammer_free_play",
         [] { return Top<FreePlaySelectMode>() != nullptr && TopNode<ButtonNode>("HammerTheNail") != nullptr; },
         ClickOn("HammerTheNail"), true},
        {"difficulty", [] { return Top<DifficultySelectMode>() != nullptr; }, ClickOn("Easy")},
        {"easy chosen", Checked("Easy"), ClickOn("PlayButton")},
        {"hammer_instructions", [] { return Top<ForemanInstructionMode>() != nullptr; }, ClickOn("SkipButton"), true},
        {"hammer_easy",
         [] { return TopNode("MaskInput_ClickMask") != nullptr && !TopNode("MaskInput_ClickMask")->LocalIsVisible(); },
         nullptr, true},
    });
    // An easy run has "RepeatedGameNumLoops"[0] + 1 rounds; each ends with its nails home.
    const HammerTheNailMode* lastRound = nullptr;
    for (int round = 1; round <= 4; ++round)
        steps.push_back({"hammer round " + std::to_string(round),
                         [&] { return Top<HammerTheNailMode>() != lastRound && playRound(); },
                         [&] { lastRound = Top<HammerTheNailMode>(); }});
    steps.push_back({"hammer_reward", [] { return Top<StickerUnlockMode>() != nullptr; }, ClickOn("OkButton"), true});
    steps.push_back(
        {"free play after the game", [] { return Top<FreePlaySelectMode>() != nullptr; }, ClickOn("BackButton")});
    // The story, at the step after the fence's cut-scene, plays the game itself.
    steps.push_back({"menu for the story", [] { return Top<MainMenuMode>() != nullptr; },
                     [&]
                     {
                         Account* account = GetAccountManager()->GetCurrentAccount();
                         ASSERT_NE(account, nullptr);
                         account->WriteValue(MakeProfileKey(*account, L"_Progress").c_str(), 5);
                         GetLevelManager().loadLevelProgressionDataFromAccount();
                         EXPECT_TRUE(Click("StoryButton"));
                     }});
    AddSteps(StoryDifficulty(nullptr));
    steps.push_back(
        {"story instructions", [] { return Top<ForemanInstructionMode>() != nullptr; }, ClickOn("SkipButton")});
    steps.push_back(
        {"story hammering", [] { return Top<HammerTheNailMode>() != nullptr && !GetLevelManager().freePlay; }, toMenu});
    // A Medium and a Hard level as they open: more nails, more tools.
    for (const char* difficulty : {"Medium", "Hard"})
    {
        const std::string shot = std::string("hammer_") + (difficulty[0] == 'M' ? "medium" : "hard");
        const bool hard = difficulty[0] == 'H';
        const size_t fewest = hard ? 4 : 2;
        AddSteps(MenuToGame(shot, "HammerTheNail", difficulty));
        steps.push_back(
            {shot + " instructions", [] { return Top<ForemanInstructionMode>() != nullptr; }, ClickOn("SkipButton")});
        steps.push_back(
            {shot,
             [] { return Top<HammerTheNailMode>() != nullptr && !TopNode("MaskInput_ClickMask")->LocalIsVisible(); },
             [=]
             {
                 EXPECT_GE(Top<HammerTheNailMode>()->getNails().size(), fewest);
                 if (!hard)
                     toMenu();
             },
             true});
        // The busiest moment: a Hard level with a tool turning on a nail while the foreman speaks.
        if (hard)
            steps.push_back({"hammer_turn",
                             [&]
                             {
                                 playRound();
                                 return turning();
                             },
                             toMenu, true});
    }
    steps.push_back({"menu after the story", [] { return Top<MainMenuMode>() != nullptr; }, nullptr});

    PlaySteps();
}

TEST_F(PlayThroughTest, TheCargoPatternGameFromFreePlayToItsStickerAndInTheStory)
{
    // A round whose train stands and whose loads take clicks; a round that had its right load never again.
    const auto standing = []
    {
        auto* game = Top<HaulersDeliveryMode>();
        SceneNode* mask = TopNode("MouseInput_ClickMask");
        SceneNode* train = TopNode("CargoRoot");
        return game != nullptr && !game->isDelivering() && mask != nullptr && !mask->LocalIsVisible() &&
               train != nullptr && train->LocalGetLocation().x == 0.0f;
    };
    const auto pick = [](bool right)
    {
        auto* game = Top<HaulersDeliveryMode>();
        ASSERT_NE(game, nullptr);
        const HaulersDeliveryType wanted = game->getCarts().back()->getCargoType();
        for (DeliveryObject* cargo : game->getChoices())
            if ((cargo->getCargoType() == wanted) == right)
            {
                const Rect<float> bounds = cargo->getImageNode()->GlobalGetBounds();
                ClickAt(static_cast<int>(bounds.x + bounds.width / 2), static_cast<int>(bounds.y + bounds.height / 2));
                return;
            }
        ADD_FAILURE() << "no " << (right ? "right" : "wrong") << " load";
    };
    const auto round = [&] { pick(true); };
    // A child counts the loads by the wagons they stand in: the six loads (the empty wagon's where it
    // will stand) are one wagon's pitch apart, each over its own cart's picture, and the locomotive
    // that leads the train is drawn more than a pitch ahead of the first load, with no load on it.
    const auto trainOfWagons = []
    {
        static const NodePathStep kCargo[] = {"cargoImage", NodePathTerminator()};
        static const NodePathStep kLeadCargo[] = {"cargoImage_front", NodePathTerminator()};
        static const NodePathStep kPicture[] = {"cart", NodePathTerminator()};
        auto* game = Top<HaulersDeliveryMode>();
        ASSERT_NE(game, nullptr);
        const std::vector<DeliveryCart*> carts = game->getCarts();
        ASSERT_EQ(carts.size(), static_cast<size_t>(kHaulersDeliveryCarts));
        std::vector<float> middles;
        for (DeliveryCart* cart : carts)
        {
            SceneNode* load = cart->LayoutNode(cart->isLeadCart() ? kLeadCargo : kCargo);
            SceneNode* picture = cart->LayoutNode(kPicture);
            ASSERT_TRUE(load != nullptr && picture != nullptr);
            const Rect<float> at = load->GlobalGetBounds();
            const Rect<float> under = picture->GlobalGetBounds();
            middles.push_back(at.x + at.width / 2);
            EXPECT_TRUE(middles.back() > under.x && middles.back() < under.x + under.width)
                << "load " << middles.size() << " is off its cart";
        }
        const float pitch = middles[1] - middles[0];
        EXPECT_GE(pitch, 90.0f);
        for (size_t i = 2; i < middles.size(); ++i)
            EXPECT_NEAR(middles[i] - middles[i - 1], pitch, 1.0f) << "between loads " << i << " and " << i + 1;
        EXPECT_LT(carts.front()->LayoutNode(kPicture)->GlobalGetBounds().x, middles.front() - pitch);
    };
    // The right load on its way down into the empty cart, its hook still on it.
    const auto lowering = []
    {
        auto* game = Top<HaulersDeliveryMode>();
        if (game == nullptr || game->getCarts().size() != kHaulersDeliveryCarts)
            return false;
        SceneNode* target = game->getCarts().back()->getCargoTarget();
        return target != nullptr && target->GetChildren().size() == 1 &&
               target->GetChildren().front()->LocalGetLocation().y > -100;
    };

    steps = ToEasyGameInFreePlay("HaulersDelivery");
    steps.insert(
        steps.end(),
        {
            {"haulers_instructions", [] { return Top<ForemanInstructionMode>() != nullptr; }, ClickOn("SkipButton"),
             true},
            {"train of wagons", standing, trainOfWagons},
            // A wrong load first: it is taken away again and the round goes on with the rest.
            {"haulers_game", standing, [&] { pick(false); }, true},
            {"wrong load gone",
             [&]
             { return standing() && Top<HaulersDeliveryMode>()->getChoices().size() == kHaulersDeliveryChoices - 1; },
             round},
            {"haulers_hook", lowering, nullptr, true},
            // The easy run's other three rounds.
            {"round 2", standing, round},
            {"round 3", standing, round},
            {"round 4", standing, round},
            {"haulers_reward", [] { return Top<StickerUnlockMode>() != nullptr; }, ClickOn("OkButton"), true},
            {"free play after the game", [] { return Top<FreePlaySelectMode>() != nullptr; }, ClickOn("BackButton")},
        });
    AddSteps(StoryAt<HaulersDeliveryMode>(13, ClickOn("SkipButton")));
    steps.push_back({"story game", standing, nullptr});

    PlaySteps();
}

TEST_F(PlayThroughTest, TheHideAndSeekGameFromFreePlayToItsStickerAndInTheStory)
{
    const auto open = OpenTo<HideAndSeekMode>("ClickMask");
    const auto hiding = []() -> HideAndSeekObstacle*
    {
        auto* game = Top<HideAndSeekMode>();
        HideAndSeekCharacter* cat = game != nullptr ? game->getCharacter() : nullptr;
        return cat != nullptr ? dynamic_cast<HideAndSeekObstacle*>(game->GetObject(cat->getCurrentObstacle()))
                              : nullptr;
    };
    HideAndSeekObstacle* wrong = nullptr;
    const auto lookWrongly = [&]
    {
        for (HideAndSeekObstacle* obstacle : Top<HideAndSeekMode>()->getObstacles())
            if (obstacle != hiding())
                wrong = obstacle;
        ASSERT_NE(wrong, nullptr);
        ClickNode(wrong->getImageNode());
    };
    // An easy level needs one or two finds; a find that ended the game leaves the next one nothing to do.
    const auto findIt = [&]
    {
        if (open())
            ClickNode(hiding()->getImageNode());
    };
    const auto found = [&]
    {
        HideAndSeekObstacle* at = hiding();
        return at != nullptr && at->getImageNode()->LocalGetLocation().y <= -200 &&
               Top<HideAndSeekMode>()->getCharacter()->GetNode()->LocalIsVisible();
    };
    const auto openOrOver = [&] { return open() || Top<StickerUnlockMode>() != nullptr; };

    steps = ToEasyGameInFreePlay("HideAndSeek");
    steps.insert(
        steps.end(),
        {
            {"hide_and_seek_instructions", [] { return Top<ForemanInstructionMode>() != nullptr; },
             ClickOn("SkipButton"), true},
            {"hide_and_seek_hidden", open, lookWrongly, true},
            {"hide_and_seek_wrong",
             [&] {
                 return wrong->getImageNode()->LocalGetLocation().y <= -200 &&
                        wrong->getWrongAnimalNode()->LocalIsVisible();
             },
             nullptr, true},
            {"seeking again", open, findIt},
            {"hide_and_seek_found", found, nullptr, true},
            {"second find", openOrOver, findIt},
            {"hide_and_seek_reward", [] { return Top<StickerUnlockMode>() != nullptr; }, ClickOn("OkButton"), true},
            {"free play after the game", [] { return Top<FreePlaySelectMode>() != nullptr; }, ClickOn("BackButton")},
        });
    AddSteps(StoryAt<HideAndSeekMode>(11));

    PlaySteps();
}

// Every Medium level of the hiding game refused on disk: the alert, then the back button leads to the
// chooser; the level mended on disk, F5 on the stuck game plays it.
TEST_F(PlayThroughTest, AGameWithoutALevelLeadsBackAndF5PlaysTheLevelMendedOnDisk)
{
    const std::string manifest = UseDataCopy("HideAndSeekMode.xml");
    std::ifstream in(manifest);
    const std::string committed((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string slow = committed;
    const std::string medium = "difficulty=\"Medium\"";
    for (size_t at = slow.find(medium); at != std::string::npos; at = slow.find(medium, at + 1))
    {
        const size_t speed = slow.find("runSpeed=\"", at) + 10;
        slow.replace(speed, slow.find('"', speed) - speed, "1");
    }
    std::ofstream(manifest, std::ios::trunc) << slow;
    // Each alert returns at once, as the player's OK does.
    static std::vector<std::wstring> alerts;
    alerts.clear();
    SetMissingLevelNotifier([](const std::wstring& message, const std::wstring&) { alerts.push_back(message); });

    // The empty game with its back button alone, after the n-th alert.
    const auto stuck = [](size_t n)
    {
        return [n]
        {
            SceneNode* back = TopNode("QuitButton");
            SceneNode* help = TopNode("HelpButton");
            return Top<HideAndSeekMode>() != nullptr && alerts.size() == n &&
                   alerts.back() ==
                       L"Difficulty Level Not Found for HideAndSeekMode. Fix the problem and press F5 to reload" &&
                   back != nullptr && back->LocalIsVisible() && help != nullptr && !help->LocalIsVisible();
        };
    };
    steps = ToProfileMenu();
    AddSteps(MenuToGame("no level", "HideAndSeek", "Medium"));
    AddSteps({
        {"hide_and_seek_without_level", stuck(1), ClickOn("QuitButton"), true},
        {"back in free play", [] { return Top<FreePlaySelectMode>() != nullptr; }, ClickOn("HideAndSeek")},
        {"Medium again", Checked("Medium"), ClickOn("PlayButton")},
        {"stuck again", stuck(2),
         [&]
         {
             std::ofstream(manifest, std::ios::trunc) << committed;
             PressKey(SDLK_F5);
         }},
        {"the mended level",
         []
         {
             auto* game = dynamic_cast<HideAndSeekMode*>(MainLoop::GetTopMostMode(1));
             return Top<ForemanInstructionMode>() != nullptr && game != nullptr &&
                    std::string(game->getLevel().c_str()).starts_with("HideAndSeek_Medium_");
         },
         ClickOn("SkipButton")},
        {"hiding game played", OpenTo<HideAndSeekMode>("ClickMask"), [] { EXPECT_EQ(alerts.size(), 2u); }},
    });

    PlaySteps();
    SetMissingLevelNotifier(nullptr);
}

TEST_F(PlayThroughTest, TheStickerBookShowsEachProfileItsOwnStickersAndOpensAtTheStorysEnd)
{
    const auto menuOf = [](int profile)
    { return [profile] { return Top<MainMenuMode>() && CurrentProfile() == profile; }; };
    // The profile gets exactly these stickers, then the child opens the book.
    const auto openWith = [](std::vector<int> stickers)
    {
        return [stickers]
        {
            auto* button = TopNode<ButtonNode>("StickerBookButton");
            EXPECT_TRUE(button != nullptr && button->IsEnabled());
            ASSERT_TRUE(GameTesting::GiveStickers(*GetAccountManager()->GetCurrentAccount(), stickers, 56));
            EXPECT_TRUE(Click("StickerBookButton"));
        };
    };
    const auto holding = [] { return Top<StickerBookMode>() && DragSource<Sticker*>::GetHeldDragSource() != nullptr; };
    const auto placed = [] { return Top<StickerBookMode>()->getSurface()->getPlacedStickers(); };
    const auto stuck = [placed](size_t count)
    { return [placed, count] { return Top<StickerBookMode>() && placed().size() == count; }; };
    const auto list = [] { return Top<StickerBookMode>()->getStickerList(); };
    const auto putBack = [] { return Top<StickerBookMode>() && TopNode("CarryLayer")->GetChildren().empty(); };
    std::vector<int> all(56);
    std::iota(all.begin(), all.end(), 0);

    steps = ToProfileMenu();
    AddSteps({
        {"menu of profile 1", menuOf(1), openWith({2, 9, 30})},
        {"sticker_book_empty", [] { return Top<StickerBookMode>() != nullptr; },
         [&]
         {
             EXPECT_EQ(list()->getStickers(), (std::vector<int>{2, 9, 30})) << "the locked ones are not offered";
             EXPECT_EQ(TopNode("Sticker_3"), nullptr);
             EXPECT_TRUE(Click("Sticker_9"));
         },
         true},
        // Taken at its centre, each sticker sticks with its corner half a sticker up and left of the click.
        {"sticker 9 in hand", holding, [] { ClickAt(150, 200); }},
        {"sticker 9 stuck", stuck(1), ClickOn("Sticker_30")},
        {"sticker 30 in hand", holding, [] { ClickAt(300, 420); }},
        {"two stuck", stuck(2),
         [&]
         {
             const Rect<float> page = Top<StickerBookMode>()->getSurface()->getPage()->GlobalGetBounds();
             EXPECT_EQ(placed()[0].sticker, 9);
             EXPECT_EQ(placed()[0].location, Vector2<float>(150 - 48 - page.x, 200 - 48 - page.y));
             EXPECT_EQ(placed()[1].sticker, 30);
             EXPECT_EQ(placed()[1].location, Vector2<float>(300 - 48 - page.x, 420 - 48 - page.y));
             EXPECT_TRUE(Click("Sticker_2"));
         }},
        // Dropped by the page's corner, a sticker is moved in to lie wholly on the page.
        {"sticker 2 in hand", holding, [] { ClickAt(416, 568); }},
        {"three stuck", stuck(3),
         [&]
         {
             const Rect<float> page = Top<StickerBookMode>()->getSurface()->getPage()->GlobalGetBounds();
             EXPECT_EQ(placed()[2].location, Vector2<float>(page.width - 96, page.height - 96));
             EXPECT_TRUE(Click("Sticker_2"));
         }},
        // Dropped on the tray it goes back and the book stays open; the back button, pressed with a
        // sticker in hand, closes the book at the first press.
        {"sticker 2 in hand again", holding, [] { ClickAt(620, 300); }},
        {"sticker_book_placed", putBack, ClickOn("Sticker_2"), true},
        {"sticker 2 in hand once more", holding,
         [&]
         {
             EXPECT_EQ(placed().size(), 3u);
             EXPECT_TRUE(Click("BackButton"));
         }},

        // Profile 2 has every sticker: its book turns seven pages, and starts with an empty page.
        {"menu after the book", menuOf(1), ClickOn("ProfileButton")},
        {"profiles for 2", [] { return Top<MyAccountMode>() != nullptr; }, ClickOn("Profile2")},
        {"profile 2", Checked("Profile2"), ClickOn("PlayButton")},
        {"menu of profile 2", menuOf(2), openWith(all)},
        {"book of profile 2", [] { return Top<StickerBookMode>() != nullptr; },
         [&]
         {
             EXPECT_EQ(list()->getStickers(), all);
             EXPECT_EQ(list()->getPageCount(), 7);
             EXPECT_TRUE(placed().empty());
             EXPECT_TRUE(Click("NextPageButton"));
         }},
        {"sticker_book_page_turned", [&] { return Top<StickerBookMode>() && list()->getPage() == 1; },
         [&]
         {
             EXPECT_EQ(list()->getStickersShown(), std::vector<int>(all.begin() + 9, all.begin() + 18));
             EXPECT_TRUE(Click("BackButton"));
         },
         true},

        // The story's last step is its closing cut-scene; after it the book opens above the menu.
        {"menu for the story", menuOf(2),
         []
         {
             ASSERT_TRUE(GetAccountManager()->GetCurrentAccount()->WriteValue(L"2_Progress", 16));
             EXPECT_TRUE(Click("StoryButton"));
         }},
    });
    AddSteps(StoryDifficulty(nullptr));
    AddSteps({
        {"closing cutscene",
         [] { return Top<CutsceneMode>() != nullptr && Top<CutsceneMode>()->getShownPicture() >= 0; },
         ClickOn("SkipButton")},
        {"book at the story's end",
         [] { return Top<StickerBookMode>() && dynamic_cast<MainMenuMode*>(MainLoop::GetTopMostMode(1)) != nullptr; },
         [&]
         {
             EXPECT_EQ(ProfileProgress(2), 0);
             EXPECT_EQ(list()->getStickers(), all);
             EXPECT_TRUE(Click("BackButton"));
         }},
        {"menu after the story", menuOf(2), nullptr},
    });

    PlaySteps();
}

TEST_F(PlayThroughTest, TheToolShedGameFromFreePlayToItsStickerAndTheStoryReachesIt)
{
    const auto open = OpenTo<ToolShedMode>("ToolShed_ClickMask");
    const auto boxFor = [](ToolShedItem* tool, bool right) -> ToolShedToolBox*
    {
        const AutoResource<ToolShedLevel> level(Top<ToolShedMode>()->getLevel());
        for (ToolShedToolBox* box : Top<ToolShedMode>()->getBoxes())
            if (level->Fits(box->getTakes(), tool->getTool()) == right)
                return box;
        return nullptr;
    };
    // On the floor and ready for a click: not in hand, not on its way back.
    const auto onTheFloor = [](ToolShedItem* tool)
    { return !tool->isInBox() && !tool->isHeld() && tool->getImageNode()->hitTest; };
    ToolShedItem* first = nullptr;
    // A player who makes one move a frame once the last has told: a tool up, then into its box. Ready
    // when the floor is clear.
    const auto sortAll = [&]
    {
        auto* game = Top<ToolShedMode>();
        if (game == nullptr)
            return false;
        const std::vector<ToolShedItem*> tools = game->getTools();
        if (std::all_of(tools.begin(), tools.end(), [](ToolShedItem* t) { return t->isInBox(); }))
            return true;
        if (!open())
            return false;
        for (ToolShedItem* tool : tools)
        {
            if (tool->isHeld())
            {
                ClickNode(boxFor(tool, true)->getDropArea());
                return false;
            }
        }
        for (ToolShedItem* tool : tools)
        {
            if (onTheFloor(tool))
            {
                ClickNode(tool->getImageNode());
                return false;
            }
        }
        return false;
    };

    steps = ToEasyGameInFreePlay("ToolShed");
    steps.insert(
        steps.end(),
        {
            // The pop-up opens once the thrown tools have landed.
            {"tool_shed_instructions", [] { return Top<ForemanInstructionMode>() != nullptr; },
             [&]
             {
                 auto* game = dynamic_cast<ToolShedMode*>(MainLoop::GetTopMostMode(1));
                 ASSERT_NE(game, nullptr);
                 for (ToolShedItem* tool : game->getTools())
                     EXPECT_EQ(tool->LayoutRoot()->LocalGetLocation(), Vector2<float>()) << "landed";
                 EXPECT_TRUE(Click("SkipButton"));
             },
             true},
            {"tool_shed_easy", open,
             [&]
             {
                 EXPECT_GE(Top<ToolShedMode>()->getTools().size(), 3u);
                 first = Top<ToolShedMode>()->getTools().front();
                 ClickNode(first->getImageNode());
             },
             true},
            // Carried over its box, which glows; then dropped on another.
            {"tool in hand", [&] { return first->isHeld(); },
             [&]
             {
                 const Rect<float> box = boxFor(first, true)->getDropArea()->GlobalGetBounds();
                 SDL_Event event{};
                 event.type = SDL_MOUSEMOTION;
                 event.motion.windowID = SDL_GetWindowID(Linux::GetMainWindow());
                 event.motion.x = static_cast<int>(box.x + box.width / 2);
                 event.motion.y = static_cast<int>(box.y + box.height / 2);
                 SDL_PushEvent(&event);
             }},
            {"tool_shed_carried",
             [&]
             {
                 const NodePathStep glow[] = {"rolloverNode", NodePathTerminator()};
                 return boxFor(first, true)->LayoutNode(glow)->LocalIsVisible();
             },
             [&] { ClickNode(boxFor(first, false)->getDropArea()); }, true},
            {"tool_shed_wrong",
             [&] { return !first->isHeld() && boxFor(first, false)->LayoutRoot()->LocalGetLocation().x != 0.0f; },
             nullptr, true},
            {"tool back on the floor", [&] { return onTheFloor(first); }, nullptr},
            {"tool_shed_sorted", sortAll, nullptr, true},
            {"tool_shed_reward", [] { return Top<StickerUnlockMode>() != nullptr; }, ClickOn("OkButton"), true},
            {"free play after the game", [] { return Top<FreePlaySelectMode>() != nullptr; }, ClickOn("BackButton")},
            // The story's first game, after the opening cut-scene, is the tool shed.
            {"menu for the story", [] { return Top<MainMenuMode>() != nullptr; },
             [&]
             {
                 ASSERT_TRUE(GetAccountManager()->GetCurrentAccount()->WriteValue(L"1_Progress", 1));
                 GetLevelManager().loadLevelProgressionDataFromAccount();
                 EXPECT_TRUE(Click("StoryButton"));
             }},
        });
    AddSteps(StoryDifficulty("Easy"));
    AddSteps({
        {"tool shed in the story",
         []
         {
             return Top<ForemanInstructionMode>() != nullptr &&
                    dynamic_cast<ToolShedMode*>(MainLoop::GetTopMostMode(1)) != nullptr;
         },
         [&]
         {
             EXPECT_FALSE(GetLevelManager().freePlay);
             EXPECT_EQ(ProfileProgress(1), 1);
             // The story's first game plays a level of the difficulty chosen for it.
             const Label level = dynamic_cast<ToolShedMode*>(MainLoop::GetTopMostMode(1))->getLevel();
             EXPECT_NE(std::string(level.IsNull() ? "" : level.c_str()).find("_Easy_"), std::string::npos);
             GetLevelManager().getModeQueue().unwindTo(GetLevelManager().getStoryScreens().mainMenu());
         }},
    });
    // A Medium and a Hard shed as they open: more boxes, more tools.
    for (const char* difficulty : {"Medium", "Hard"})
    {
        const std::string shot = std::string("tool_shed_") + (difficulty[0] == 'M' ? "medium" : "hard");
        const size_t boxes = difficulty[0] == 'M' ? 3 : 4;
        AddSteps(MenuToGame(shot, "ToolShed", difficulty));
        // The busiest moment: the tools in the air, the last still to land.
        if (boxes == 4)
            steps.push_back({"tool_shed_throw",
                             []
                             {
                                 auto* game = Top<ToolShedMode>();
                                 const auto tools = game != nullptr ? game->getTools() : std::vector<ToolShedItem*>();
                                 return tools.size() > 4 && tools[tools.size() / 2]->LayoutRoot()->LocalIsVisible() &&
                                        tools[tools.size() / 2]->LayoutRoot()->LocalGetLocation() != Vector2<float>();
                             },
                             nullptr, true});
        steps.push_back(
            {shot + " instructions", [] { return Top<ForemanInstructionMode>() != nullptr; }, ClickOn("SkipButton")});
        steps.push_back({shot, open,
                         [=]
                         {
                             EXPECT_EQ(Top<ToolShedMode>()->getBoxes().size(), boxes);
                             GetLevelManager().getModeQueue().unwindTo(GetLevelManager().getStoryScreens().mainMenu());
                         },
                         true});
    }
    steps.push_back({"menu after the games", [] { return Top<MainMenuMode>() != nullptr; }, nullptr});

    PlaySteps();
}

TEST_F(PlayThroughTest, TheJobOrderGameFromFreePlayToItsStickerAndInTheStory)
{
    const auto open = OpenTo<PlanAJobMode>("IntroClickMask");
    const auto held = []() -> JobSequenceItem*
    {
        auto* game = Top<PlanAJobMode>();
        if (game == nullptr)
            return nullptr;
        for (JobSequenceItem* item : game->getItems())
            if (item->isHeld())
                return item;
        return nullptr;
    };
    const auto placeOf = [](int step, bool right) -> JobSequenceSlot*
    {
        for (JobSequenceSlot* slot : Top<PlanAJobMode>()->getSlots())
            if (!slot->isFilled() && (slot->getStep() == step) == right)
                return slot;
        return nullptr;
    };
    // Takes the first picture still offered; a pick-up after the last placing has nothing to take.
    const auto pickUp = [&]
    {
        if (open() && !Top<PlanAJobMode>()->getItems().empty())
            ClickNode(Top<PlanAJobMode>()->getItems().front()->getImageNode());
    };
    const auto placeRight = [&]
    {
        if (JobSequenceItem* item = held())
            ClickNode(placeOf(item->getStep(), true)->getImageNode());
    };
    const auto offered = [] { return Top<PlanAJobMode>() != nullptr ? Top<PlanAJobMode>()->getItems().size() : 1u; };

    steps = ToEasyGameInFreePlay("PlanAJob");
    steps.insert(
        steps.end(),
        {
            {"plan_a_job_instructions", [] { return Top<ForemanInstructionMode>() != nullptr; }, ClickOn("SkipButton"),
             true},
            {"plan_a_job_easy", open, pickUp, true},
            // Carried to an empty place of another step when there is one, else pressed beside every
            // place: either way it goes back to where it lay, to be taken again.
            {"plan_a_job_carrying", [&] { return held() != nullptr && held()->getCarriedCopy() != nullptr; },
             [&]
             {
                 if (JobSequenceSlot* wrong = placeOf(held()->getStep(), false))
                     ClickNode(wrong->getImageNode());
                 else
                     ClickAt(790, 320);
             },
             true},
            {"after the first try",
             [&]
             {
                 return open() && held() == nullptr &&
                        Top<PlanAJobMode>()->getItems().front()->LayoutRoot()->GetTaskQueue().IsEmpty();
             },
             pickUp},
            {"first picture carried", [&] { return held() != nullptr; }, placeRight},
            // An easy job may have had one picture only: then nothing is left to take.
            {"second pick-up", [&] { return held() == nullptr && (open() || offered() == 0); }, pickUp},
            {"second picture", [&] { return held() != nullptr || offered() == 0; }, placeRight},
            {"plan_a_job_building",
             []
             {
                 SceneNode* blueprint = TopNode("Blueprint");
                 return blueprint != nullptr && blueprint->LocalGetLocation().y <= -200;
             },
             nullptr, true},
            {"plan_a_job_reward", [] { return Top<StickerUnlockMode>() != nullptr; }, ClickOn("OkButton"), true},
            {"free play after the game", [] { return Top<FreePlaySelectMode>() != nullptr; }, ClickOn("BackButton")},
        });
    AddSteps(StoryAt<PlanAJobMode>(15));

    PlaySteps();
}

TEST_F(PlayThroughTest, TheJigsawGameFromFreePlayToItsStickerAndInTheStory)
{
    const auto piece = [](size_t i) -> SproutPuzzlePiece*
    {
        auto* game = Top<SproutPuzzleMode>();
        return game != nullptr && i < game->getPieces().size() ? game->getPieces()[i] : nullptr;
    };
    const auto slot = [](size_t i) -> SproutPuzzlePieceSlot*
    {
        auto* game = Top<SproutPuzzleMode>();
        return game != nullptr && i < game->getSlots().size() ? game->getSlots()[i] : nullptr;
    };
    const auto open = OpenTo<SproutPuzzleMode>("ClickMask");
    const auto held = [&](size_t i) { return piece(i) != nullptr && piece(i)->isHeld(); };
    const auto inTray = [&](size_t i)
    {
        SproutPuzzlePiece* p = piece(i);
        SceneNode* root = p != nullptr ? p->LayoutRoot() : nullptr;
        return open() && root != nullptr && root->GetParent() != nullptr && !p->isHeld() &&
               std::string(root->GetParent()->GetNodeName().c_str()).rfind("Spot_", 0) == 0 &&
               root->LocalGetLocation() == Vector2<float>();
    };

    steps = ToEasyGameInFreePlay("SproutPuzzle");
    steps.insert(
        steps.end(),
        {
            {"sprout_puzzle_whole",
             []
             {
                 auto* game = Top<SproutPuzzleMode>();
                 return game != nullptr && game->getPieces().size() == 4 && !game->isScattered();
             },
             nullptr, true},
            {"sprout_puzzle_instructions", [] { return Top<ForemanInstructionMode>() != nullptr; },
             ClickOn("SkipButton"), true},
            {"sprout_puzzle_scattered", [&] { return inTray(0); }, [&] { ClickNode(piece(0)->getImageNode()); }, true},
            {"onto another slot", [&] { return held(0); }, [&] { ClickNode(slot(1)->getDropNode()); }},
            {"back in the tray", [&] { return inTray(0); },
             [] { EXPECT_EQ(Top<SproutPuzzleMode>()->getPiecesPlaced(), 0); }},
        });
    for (size_t i = 0; i < 4; ++i)
    {
        steps.push_back({"pick up " + std::to_string(i), [&, i] { return inTray(i); },
                         [&, i] { ClickNode(piece(i)->getImageNode()); }});
        if (i == 2)
        {
            // Carried over the board with two pieces in: the busiest moment.
            steps.push_back({"over the board", [&] { return held(2); },
                             [&]
                             {
                                 const Vector2<int> at = Centre(slot(3)->getDropNode());
                                 MoveTo(at.x, at.y);
                             }});
            steps.push_back({"sprout_puzzle_busiest",
                             [&]
                             {
                                 SceneNode* image = piece(2)->getImageNode();
                                 const Rect<float> cell = slot(3)->getDropNode()->GlobalGetBounds();
                                 return held(2) &&
                                        image->GlobalBoundsContains(cell.x + cell.width / 2, cell.y + cell.height / 2);
                             },
                             nullptr, true});
        }
        steps.push_back({"put down " + std::to_string(i), [&, i] { return held(i); },
                         [&, i] { ClickNode(slot(i)->getDropNode()); }});
    }
    steps.insert(
        steps.end(),
        {
            {"sprout_puzzle_finished",
             []
             {
                 auto* game = Top<SproutPuzzleMode>();
                 return game != nullptr && game->getPiecesPlaced() == 4;
             },
             nullptr, true},
            {"sprout_puzzle_reward", [] { return Top<StickerUnlockMode>() != nullptr; }, ClickOn("OkButton"), true},
            {"free play after the game", [] { return Top<FreePlaySelectMode>() != nullptr; }, ClickOn("BackButton")},
        });
    AddSteps(StoryAt<SproutPuzzleMode>(10));

    PlaySteps();
}

TEST_F(PlayThroughTest, TheStackingGameFromFreePlayToItsStickerAndInTheStory)
{
    const auto falling = []
    {
        auto* game = Top<HoistStackerMode>();
        const std::vector<StackableObject*> objects =
            game != nullptr ? game->getObjects() : std::vector<StackableObject*>();
        return std::any_of(objects.begin(), objects.end(),
                           [](StackableObject* o) { return o->getPlace() == StackableObject::Place::Falling; });
    };
    // A player who makes one move once the last has told: picks up a loose object, then clicks its
    // platform. The first round is stacked smallest first, so it falls and Hoist is sad; then largest
    // first. True when every object lies right on a stack.
    const HoistStackerMode* current = nullptr;
    bool fallen = false;
    bool wrong = true;
    std::function<bool()> told;
    const auto playRound = [&]
    {
        auto* game = Top<HoistStackerMode>();
        if (game == nullptr)
            return false;
        if (game != current)
        {
            current = game;
            fallen = false;
            told = nullptr;
        }
        // The intro's fall first; a later fall is the wrong stack coming down.
        if (falling())
        {
            wrong = wrong && !fallen;
            fallen = true;
            return false;
        }
        if (!fallen || (told && !told()))
            return false;
        told = nullptr;
        const std::vector<StackableObject*> objects = game->getObjects();
        if (std::all_of(objects.begin(), objects.end(),
                        [](StackableObject* o)
                        { return o->getPlace() == StackableObject::Place::Stack && o->isCorrectlyPlaced(); }))
            return true;
        StackableObject* next = nullptr;
        for (StackableObject* object : objects)
        {
            if (object->isHeld())
            {
                for (StackingTarget* platform : game->getPlatforms())
                    if (platform->getColor() == object->getData().color)
                        ClickNode(platform->getClickNode());
                told = [object] { return object->getPlace() == StackableObject::Place::Stack; };
                return false;
            }
            if (object->getPlace() == StackableObject::Place::Ground &&
                (next == nullptr || (object->getData().size < next->getData().size) == wrong))
                next = object;
        }
        if (next != nullptr)
        {
            ClickNode(next->getImageNode());
            told = [next] { return next->isHeld(); };
        }
        return false;
    };

    steps = ToEasyGameInFreePlay("HoistStacker");
    steps.push_back({"stacking_instructions", [] { return Top<ForemanInstructionMode>() != nullptr; },
                     ClickOn("SkipButton"), true});
    // An easy run has "RepeatedGameNumLoops"[0] + 1 rounds.
    const HoistStackerMode* lastRound = nullptr;
    for (int round = 1; round <= 4; ++round)
        steps.push_back({"stacking round " + std::to_string(round),
                         [&] { return Top<HoistStackerMode>() != lastRound && playRound(); },
                         [&]
                         {
                             EXPECT_FALSE(wrong);
                             lastRound = Top<HoistStackerMode>();
                         }});
    steps.push_back({"stacking_reward", [] { return Top<StickerUnlockMode>() != nullptr; }, ClickOn("OkButton"), true});
    steps.push_back(
        {"free play after the game", [] { return Top<FreePlaySelectMode>() != nullptr; }, ClickOn("BackButton")});
    // The story, at the step after the hammering game, plays this one.
    AddSteps(StoryAt<HoistStackerMode>(6));

    PlaySteps();
}

TEST_F(PlayThroughTest, TheLeafPileGameFromFreePlayToItsStickerAndInTheStory)
{
    // The tool asked for, while the playfield takes clicks.
    const auto asked = []() -> LeafCoveredTool*
    {
        auto* game = Top<PileOfLeavesMode>();
        SceneNode* mask = TopNode("ClickMask");
        if (game == nullptr || mask == nullptr || mask->LocalIsVisible())
            return nullptr;
        for (LeafCoveredTool* tool : game->getTools())
            if (!tool->isFound() && tool->getKind() == game->getToolToFind() &&
                tool->getColor() == game->getColorToFind())
                return tool;
        return nullptr;
    };
    // The pointer sweeps in from the left to the asked tool, as a child's hand does.
    const auto sweep = [&]
    {
        const Vector2<int> to = Centre(asked()->getImageNode());
        for (int x = std::max(to.x - 150, 0); x <= to.x; x += 30)
        {
            SDL_Event event{};
            event.type = SDL_MOUSEMOTION;
            event.motion.windowID = SDL_GetWindowID(Linux::GetMainWindow());
            event.motion.x = x;
            event.motion.y = to.y;
            SDL_PushEvent(&event);
        }
    };
    // Leaves round the pointer have slid off their resting points.
    const auto swept = []
    {
        auto* game = Top<PileOfLeavesMode>();
        const std::vector<Leaf*> leaves = game != nullptr ? game->getLeaves() : std::vector<Leaf*>();
        return std::any_of(leaves.begin(), leaves.end(),
                           [](Leaf* leaf)
                           {
                               const Vector2<int> rest = leaf->getRestingPoint();
                               return leaf->LayoutRoot()->LocalGetLocation() != Vector2<float>(rest.x, rest.y);
                           });
    };
    const auto find = [&]
    {
        const Vector2<int> at = Centre(asked()->getImageNode());
        ClickAt(at.x, at.y);
    };
    const auto ready = [&] { return asked() != nullptr; };

    steps = ToEasyGameInFreePlay("PileOfLeaves");
    steps.insert(
        steps.end(),
        {
            {"leaves_instructions", [] { return Top<ForemanInstructionMode>() != nullptr; }, ClickOn("SkipButton"),
             true},
            {"leaves_game", ready, sweep, true},
            {"leaves_swept", swept, find, true},
            // The easy run's other three requests.
            {"request 2", ready, [&] { sweep(), find(); }},
            {"request 3", ready, [&] { sweep(), find(); }},
            {"request 4", ready, [&] { sweep(), find(); }},
            {"leaves_reward", [] { return Top<StickerUnlockMode>() != nullptr; }, ClickOn("OkButton"), true},
            {"free play after the game", [] { return Top<FreePlaySelectMode>() != nullptr; }, ClickOn("BackButton")},
        });
    AddSteps(StoryAt<PileOfLeavesMode>(9));

    PlaySteps();
}

TEST_F(PlayThroughTest, TheFencePaintingGameFromFreePlayToItsStickerAndInTheStory)
{
    // The truck stands still and clicks reach the fence, with that many boards left to paint.
    const auto waiting = [](size_t left)
    {
        return [left]
        {
            auto* game = Top<PaintTheHouseMode>();
            SceneNode* mask = TopNode("MouseInput_ClickMask");
            return game != nullptr && !game->isPainting() && mask != nullptr && !mask->LocalIsVisible() &&
                   game->getStripesToPaint().size() == left;
        };
    };
    const auto bucketOf = [](HousePaintColor color) -> HousePaintBucket*
    {
        for (HousePaintBucket* bucket : Top<PaintTheHouseMode>()->getBuckets())
            if (bucket->getColor() == color)
                return bucket;
        return nullptr;
    };
    HousePaintColor wrong = HousePaintColor_None;
    const auto pickWrong = [&]
    {
        auto* game = Top<PaintTheHouseMode>();
        ASSERT_NE(game, nullptr);
        for (HousePaintBucket* bucket : game->getBuckets())
            if (bucket->getColor() != game->getStripesToPaint().front()->getColor())
                wrong = bucket->getColor();
        ASSERT_NE(bucketOf(wrong), nullptr);
        ClickNode(bucketOf(wrong)->getImageNode());
        ClickNode(game->getFenceClickArea());
    };
    // The right bucket when the brush holds another colour, then the fence.
    const auto paint = [&]
    {
        auto* game = Top<PaintTheHouseMode>();
        ASSERT_NE(game, nullptr);
        const HousePaintColor wanted = game->getStripesToPaint().front()->getColor();
        if (game->getSelectedColor() != wanted)
            ClickNode(bucketOf(wanted)->getImageNode());
        ClickNode(game->getFenceClickArea());
    };

    steps = ToEasyGameInFreePlay("PaintIt");
    steps.push_back(
        {"paintit_instructions", [] { return Top<ForemanInstructionMode>() != nullptr; }, ClickOn("SkipButton"), true});
    // The wrong-colour voice's starts, counted frame by frame.
    int wrongVoices = 0;
    bool wrongVoicePlaying = false;
    eachFrame = [&]
    {
        const AutoResource<ISound> voice("PaintIt_WrongColor");
        const bool playing = voice.Get() != nullptr && GetAudioManager()->getIsPlayingOrUpcoming(voice.Get());
        wrongVoices += playing && !wrongVoicePlaying ? 1 : 0;
        wrongVoicePlaying = playing;
    };
    // A wrong colour first: painted on, scraped off, and the same board is next. The right bucket,
    // pressed while the lift is up, is the brush's colour at once and paints the board next.
    steps.push_back({"paintit_game", waiting(4), pickWrong, true});
    steps.push_back({"right bucket while the lift works",
                     []
                     {
                         auto* game = Top<PaintTheHouseMode>();
                         return game->isPainting() && !game->getTruckSprite()->IsAnimationPlaying(Label("Idle"));
                     },
                     [&]
                     {
                         auto* game = Top<PaintTheHouseMode>();
                         ClickNode(bucketOf(game->getStripesToPaint().front()->getColor())->getImageNode());
                     }});
    steps.push_back({"wrong paint scraped off",
                     [&]
                     {
                         auto* game = Top<PaintTheHouseMode>();
                         return waiting(4)() && game->getStripesToPaint().front()->getShownColor() == wrong;
                     },
                     [&]
                     {
                         auto* game = Top<PaintTheHouseMode>();
                         EXPECT_EQ(game->getSelectedColor(), game->getStripesToPaint().front()->getColor())
                             << "the bucket pressed while the lift worked";
                         EXPECT_EQ(wrongVoices, 1);
                         paint();
                     }});
    steps.push_back({"paintit_painting",
                     []
                     {
                         auto* game = Top<PaintTheHouseMode>();
                         AnimatedSpriteNode* truck = game != nullptr ? game->getTruckSprite() : nullptr;
                         return truck != nullptr && truck->IsAnimationPlaying(Label("ForemanPaint"));
                     },
                     nullptr, true});
    steps.push_back({"the board painted with the colour picked meanwhile", waiting(3),
                     [&]
                     {
                         EXPECT_EQ(wrongVoices, 1) << "no wrong-colour voice for the right colour";
                         eachFrame = nullptr;
                     }});
    // The easy run's four rounds of four boards, the first board of the first already on its way.
    for (int round = 0; round < 4; ++round)
        for (size_t left = round == 0 ? 3 : 4; left > 0; --left)
            steps.push_back({"round " + std::to_string(round + 1), waiting(left), paint});
    steps.insert(
        steps.end(),
        {
            {"paintit_reward", [] { return Top<StickerUnlockMode>() != nullptr; }, ClickOn("OkButton"), true},
            {"free play after the game", [] { return Top<FreePlaySelectMode>() != nullptr; }, ClickOn("BackButton")},
        });
    AddSteps(StoryAt<PaintTheHouseMode>(2, ClickOn("SkipButton")));
    steps.push_back({"story game", waiting(4), nullptr});

    PlaySteps();
    eachFrame = nullptr;
}

TEST_F(PlayThroughTest, TheStreetSignsGameFromFreePlayToItsStickerAndInTheStory)
{
    // The truck parked, no sign flying, the signs taking clicks.
    const auto asking = []
    {
        auto* game = Top<StreetSignsMode>();
        SceneNode* mask = TopNode("MouseInput_ClickMask");
        return game != nullptr && !game->isLifting() && mask != nullptr && !mask->LocalIsVisible();
    };
    StreetSign* wrong = nullptr;
    const auto pick = [&](bool right)
    {
        auto* game = Top<StreetSignsMode>();
        ASSERT_NE(game, nullptr);
        for (StreetSign* sign : game->getSigns())
            if (!sign->isInTruck() && game->getCurrentAsk().Matches(sign->getSign()) == right)
            {
                const Rect<float> bounds = sign->getImageNode()->GlobalGetBounds();
                // The plate, not the gap beside the post.
                ClickAt(static_cast<int>(bounds.x + bounds.width / 2), static_cast<int>(bounds.y + bounds.width / 2));
                if (!right)
                    wrong = sign;
                return;
            }
        ADD_FAILURE() << "no " << (right ? "right" : "wrong") << " sign";
    };
    const auto right = [&] { pick(true); };
    // A round's asks, one right sign each; the round after the last has its own first ask.
    const auto askedFor = [&](int ask)
    { return [&, ask] { return asking() && Top<StreetSignsMode>()->getAskIndex() == ask; }; };
    // The right sign on its arc into the truck; once seen, it holds while the shot settles.
    bool flown = false;
    const auto flying = [&]
    {
        auto* game = Top<StreetSignsMode>();
        if (game != nullptr && game->isLifting())
            for (StreetSign* sign : game->getSigns())
                flown = flown || (sign->isInTruck() && sign->GetNode()->LocalGetLocation().y < -40);
        return flown;
    };

    steps = ToEasyGameInFreePlay("StreetSigns");
    steps.insert(
        steps.end(),
        {
            {"street_signs_instructions", [] { return Top<ForemanInstructionMode>() != nullptr; },
             ClickOn("SkipButton"), true},
            // A wrong sign first: it wobbles and stays by the road.
            {"street_signs_game", askedFor(0), [&] { pick(false); }, true},
            {"wrong sign wobbling",
             [&] { return wrong != nullptr && wrong->getImageNode()->LocalGetLocation().x != 0; }, nullptr},
            {"wrong sign at rest",
             [&] { return asking() && wrong->getImageNode()->LocalGetLocation().x == 0 && !wrong->isInTruck(); },
             right},
            {"street_signs_lift", flying, nullptr, true},
            {"second ask", askedFor(1), right},
            // The easy run's other three rounds.
            {"round 2", askedFor(0), right},
            {"round 2 second", askedFor(1), right},
            {"round 3", askedFor(0), right},
            {"round 3 second", askedFor(1), right},
            {"round 4", askedFor(0), right},
            {"round 4 second", askedFor(1), right},
            {"street_signs_reward", [] { return Top<StickerUnlockMode>() != nullptr; }, ClickOn("OkButton"), true},
            {"free play after the game", [] { return Top<FreePlaySelectMode>() != nullptr; }, ClickOn("BackButton")},
        });
    AddSteps(StoryAt<StreetSignsMode>(7));

    PlaySteps();
}

} // namespace

// Whatever a game lets the child carry, the first press on Quit or Help opens the question or the pop-up
// and the item lies whole where it was taken from while it is open; the sticker book's back button
// closes the book at once too. In the jigsaw, the tool shed and the job order a press, a drag and a
// release drops the item where it was let go; a refused job-order card leaves the place. In the
// hammering game a press while a nail turns keeps the tool in hand.
TEST_F(PlayThroughTest, ACarriedItemNeverSwallowsAPressAndADragDrops)
{
    mDeadline = std::chrono::steady_clock::now() + 300s;
    // Pressed on `from`, dragged in steps with the button held, let go on `to`: SDL's own events.
    const auto drag = [&](SceneNode* from, SceneNode* to)
    {
        const Vector2<int> a = Centre(from);
        const Vector2<int> b = Centre(to);
        SDL_Event event = LiveGame::MouseMotion(a.x, a.y);
        SDL_PushEvent(&event);
        event = LiveGame::MouseButton(SDL_MOUSEBUTTONDOWN, a.x, a.y);
        SDL_PushEvent(&event);
        for (int step = 1; step <= 4; ++step)
        {
            event = LiveGame::MouseMotion(a.x + (b.x - a.x) * step / 4, a.y + (b.y - a.y) * step / 4, true);
            SDL_PushEvent(&event);
        }
        event = LiveGame::MouseButton(SDL_MOUSEBUTTONUP, b.x, b.y);
        SDL_PushEvent(&event);
    };
    const auto unmasked = []
    {
        auto* game = Top<MiniGameMode>();
        return game != nullptr && (game->getInputMask() == nullptr || !game->getInputMask()->LocalIsVisible());
    };
    const auto toMenu = []
    { GetLevelManager().getModeQueue().unwindTo(GetLevelManager().getStoryScreens().mainMenu()); };

    // Hammering: the first tool of the box.
    const auto hammerTool = []() -> DraggableTool*
    {
        auto* game = Top<HammerTheNailMode>();
        return game != nullptr && !game->getTools().empty() ? game->getTools().front() : nullptr;
    };
    // Stacking: an object lying on the ground that takes clicks, once nothing falls.
    const auto looseObject = []() -> StackableObject*
    {
        auto* game = Top<HoistStackerMode>();
        if (game == nullptr)
            return nullptr;
        const std::vector<StackableObject*> objects = game->getObjects();
        if (std::any_of(objects.begin(), objects.end(),
                        [](StackableObject* o) { return o->getPlace() == StackableObject::Place::Falling; }))
            return nullptr;
        for (StackableObject* object : objects)
            if (object->getPlace() == StackableObject::Place::Ground && object->getImageNode()->hitTest)
                return object;
        return nullptr;
    };
    // Jigsaw: the first piece, in its tray spot and still.
    const auto trayPiece = []() -> SproutPuzzlePiece*
    {
        auto* game = Top<SproutPuzzleMode>();
        if (game == nullptr || game->getPieces().empty() || !game->isScattered())
            return nullptr;
        SproutPuzzlePiece* piece = game->getPieces().front();
        SceneNode* root = piece->LayoutRoot();
        const bool still = root != nullptr && root->GetParent() != nullptr &&
                           std::string(root->GetParent()->GetNodeName().c_str()).rfind("Spot_", 0) == 0 &&
                           root->LocalGetLocation() == Vector2<float>();
        return still && !piece->isHeld() ? piece : nullptr;
    };
    // Tool shed: a tool on the floor that takes clicks.
    const auto floorTool = []() -> ToolShedItem*
    {
        auto* game = Top<ToolShedMode>();
        if (game == nullptr)
            return nullptr;
        for (ToolShedItem* tool : game->getTools())
            if (!tool->isInBox() && !tool->isHeld() && tool->getImageNode()->hitTest)
                return tool;
        return nullptr;
    };
    const auto rightBox = [](ToolShedItem* tool) -> ToolShedToolBox*
    {
        const AutoResource<ToolShedLevel> level(Top<ToolShedMode>()->getLevel());
        for (ToolShedToolBox* box : Top<ToolShedMode>()->getBoxes())
            if (level->Fits(box->getTakes(), tool->getTool()))
                return box;
        return nullptr;
    };
    // Job order: an offered card at rest, and the empty place of its step (or of another).
    const auto offeredCard = [](size_t index) -> JobSequenceItem*
    {
        auto* game = Top<PlanAJobMode>();
        SceneNode* mask = TopNode("IntroClickMask");
        if (game == nullptr || mask == nullptr || mask->LocalIsVisible() || game->getItems().size() <= index)
            return nullptr;
        JobSequenceItem* card = game->getItems()[index];
        SceneNode* root = card->LayoutRoot();
        return root != nullptr && root->LocalIsVisible() && root->GetTaskQueue().IsEmpty() && !card->isHeld() ? card
                                                                                                              : nullptr;
    };
    const auto placeOf = [](JobSequenceItem* card, bool right) -> JobSequenceSlot*
    {
        for (JobSequenceSlot* slot : Top<PlanAJobMode>()->getSlots())
            if (!slot->isFilled() && (slot->getStep() == card->getStep()) == right)
                return slot;
        return nullptr;
    };

    struct Carrying
    {
        const char* game; // the free-play button
        const char* shot; // the screenshots' prefix
        const char* difficulty;
        std::function<SceneNode*()> item;  // what to press to take something in hand; null until ready
        std::function<bool()> holding;     // something is in hand
        std::function<SceneNode*()> place; // where a drag drops the item rightly; null: no drag here
        std::function<bool()> placed;      // the drag has dropped it there
    };
    ToolShedItem* draggedTool = nullptr;
    JobSequenceSlot* draggedSlot = nullptr;
    JobSequenceItem* draggedCard = nullptr;
    const Carrying games[] = {
        {"HammerTheNail", "hammer", "Easy",
         [&]() -> SceneNode* { return unmasked() && hammerTool() ? hammerTool()->getShapeNode() : nullptr; },
         [] { return DragSource<DraggableTool*>::GetHeldDragSource() != nullptr; }, nullptr, nullptr},
        {"HoistStacker", "stacking", "Easy",
         [&]() -> SceneNode* { return unmasked() && looseObject() ? looseObject()->getImageNode() : nullptr; },
         [] { return DragSource<StackableObject*>::GetHeldDragSource() != nullptr; }, nullptr, nullptr},
        {"SproutPuzzle", "sprout_puzzle", "Easy",
         [&]() -> SceneNode* { return unmasked() && trayPiece() ? trayPiece()->getImageNode() : nullptr; },
         [] { return DragSource<SproutPuzzlePiece*>::GetHeldDragSource() != nullptr; },
         [] { return Top<SproutPuzzleMode>()->getSlots().front()->getDropNode(); },
         [] { return Top<SproutPuzzleMode>()->getPiecesPlaced() == 1; }},
        {"ToolShed", "tool_shed", "Easy",
         [&]() -> SceneNode*
         {
             draggedTool = unmasked() ? floorTool() : nullptr;
             return draggedTool != nullptr ? draggedTool->getImageNode() : nullptr;
         },
         [] { return DragSource<ToolShedItem*>::GetHeldDragSource() != nullptr; },
         [&] { return rightBox(draggedTool)->getDropArea(); }, [&] { return draggedTool->isInBox(); }},
        // Medium leaves places of other steps empty after the drag, for a refused card.
        {"PlanAJob", "plan_a_job", "Medium",
         [&]() -> SceneNode*
         {
             draggedCard = offeredCard(0);
             return draggedCard != nullptr ? draggedCard->getImageNode() : nullptr;
         },
         [] { return DragSource<JobSequenceItem*>::GetHeldDragSource() != nullptr; },
         [&]
         {
             draggedSlot = placeOf(draggedCard, true);
             return draggedSlot->getImageNode();
         },
         [&] { return draggedSlot->isFilled(); }},
    };

    // Hammering: the tool for the nail with most strokes left taken (every easy level has strokes to
    // spare after it), the nail struck, and a press on it while it turns: the tool stays in hand and the
    // nail steps down once.
    TargetNail* nail = nullptr;
    DraggableTool* tool = nullptr;
    int strokes = 0;
    const auto choose = [&]
    {
        auto* game = Top<HammerTheNailMode>();
        nail = nullptr;
        tool = nullptr;
        for (TargetNail* n : game != nullptr ? game->getNails() : std::vector<TargetNail*>())
            if (nail == nullptr || n->getStrokesLeft() > nail->getStrokesLeft())
                nail = n;
        for (DraggableTool* t : nail != nullptr ? game->getTools() : std::vector<DraggableTool*>())
            if (nail->fits(*t))
                tool = t;
        return tool != nullptr;
    };
    const auto turning = [] { return TopNode("MaskInput_ClickMask")->LocalIsVisible(); };
    const std::vector<Step> midStroke = {
        {"take the fitting tool", [&] { return unmasked() && choose(); }, [&] { ClickNode(tool->getShapeNode()); }},
        {"strike", [&] { return tool->isHeld(); },
         [&]
         {
             strokes = nail->getStrokesLeft();
             ClickNode(nail->getShapeNode());
         }},
        {"press while it turns", turning, [&] { ClickNode(nail->getShapeNode()); }},
        {"hammer_press_mid_stroke", [&] { return turning() && tool->GetHeldItem().GetCarriedNode() != nullptr; },
         nullptr, true},
        {"the turn ends", [&] { return !turning(); },
         [&]
         {
             EXPECT_TRUE(tool->isHeld()) << "the tool stays in hand";
             EXPECT_NE(tool->GetHeldItem().GetCarriedNode(), nullptr) << "its copy in hand is still there";
             EXPECT_EQ(nail->getStrokesLeft(), strokes - 1) << "one stroke, one step";
         }},
    };
    // Job order: a card pressed on a place of another step wobbles and goes back where it lay.
    JobSequenceItem* refusedCard = nullptr;
    JobSequenceSlot* wrongSlot = nullptr;
    const std::vector<Step> refused = {
        {"a card for a wrong place", [&] { return offeredCard(0) != nullptr && placeOf(offeredCard(0), false); },
         [&]
         {
             refusedCard = offeredCard(0);
             wrongSlot = placeOf(refusedCard, false);
             ClickNode(refusedCard->getImageNode());
         }},
        {"carried to the wrong place", [&] { return refusedCard->isHeld(); },
         [&] { ClickNode(wrongSlot->getImageNode()); }},
        // Shot on its way: below the place it was refused at, not yet where it lay.
        {"on its way back",
         [&]
         {
             const Rect<float> card = refusedCard->LayoutRoot()->GlobalGetBounds();
             const Rect<float> slot = wrongSlot->getImageNode()->GlobalGetBounds();
             return !refusedCard->isHeld() && !refusedCard->LayoutRoot()->GetTaskQueue().IsEmpty() &&
                    card.y > slot.y + slot.height / 2;
         },
         [this] { Screenshot("plan_a_job_refused"); }},
        {"back where it lay", [&] { return refusedCard->LayoutRoot()->GetTaskQueue().IsEmpty(); },
         [&]
         {
             EXPECT_FALSE(wrongSlot->isFilled());
             EXPECT_TRUE(refusedCard->LayoutRoot()->LocalIsVisible());
             const Rect<float> card = refusedCard->LayoutRoot()->GlobalGetBounds();
             const Vector2<int> slot = Centre(wrongSlot->getImageNode());
             EXPECT_FALSE(slot.x >= card.x && slot.x <= card.x + card.width && slot.y >= card.y &&
                          slot.y <= card.y + card.height)
                 << "nothing looks placed";
         }},
    };

    // The way into free play as far as the main menu: the title, profile 1 and its play button.
    const std::vector<Step> toFreePlay = ToEasyGameInFreePlay("");
    steps.assign(toFreePlay.begin(), toFreePlay.begin() + 3);
    // What was taken and where it lay: while the question is open it lies there again, whole, not
    // half way home behind the button.
    SceneNode* taken = nullptr;
    Rect<float> takenFrom;
    const auto take = [&](const Carrying& c)
    {
        taken = c.item();
        takenFrom = taken->GlobalGetBounds();
        ClickNode(taken);
    };
    const auto home = [&](const std::string& what)
    {
        const Rect<float> now = taken->GlobalGetBounds();
        EXPECT_TRUE(taken->GlobalIsVisible()) << what;
        EXPECT_TRUE(now.x == takenFrom.x && now.y == takenFrom.y && now.width == takenFrom.width &&
                    now.height == takenFrom.height)
            << what << ": at " << now.x << "," << now.y << " instead of " << takenFrom.x << "," << takenFrom.y;
    };
    for (const Carrying& c : games)
    {
        const std::string name = c.shot;
        AddSteps(MenuToGame(name, c.game, c.difficulty));
        steps.insert(steps.end(),
                     {
                         {name + " instructions", [] { return Top<ForemanInstructionMode>() != nullptr; },
                          ClickOn("SkipButton")},
                         {name + " take", [&c] { return c.item() != nullptr; }, [&] { take(c); }},
                         {name + " in hand", c.holding, ClickOn("QuitButton")},
                         // One press: the question is up, and nothing is left in the game's hand.
                         {name + "_quit_first_press", [] { return Top<QuitConfirmMode>() != nullptr; },
                          [&c, &home, name]
                          {
                              EXPECT_FALSE(c.holding());
                              home(name + " under the quit question");
                              EXPECT_TRUE(Click("NoButton"));
                          },
                          true},
                         {name + " back in the game", [] { return Top<MiniGameMode>() != nullptr; },
                          [&c] { EXPECT_FALSE(c.holding()) << "the item went home"; }},
                         // The same with the help pop-up.
                         {name + " take again", [&c] { return c.item() != nullptr; }, [&] { take(c); }},
                         {name + " in hand again", c.holding, ClickOn("HelpButton")},
                         {name + "_help_first_press", [] { return Top<ForemanInstructionMode>() != nullptr; },
                          [&c, &home, name]
                          {
                              EXPECT_FALSE(c.holding());
                              home(name + " under the help pop-up");
                              EXPECT_TRUE(Click("SkipButton"));
                          },
                          true},
                         {name + " back from help", [] { return Top<MiniGameMode>() != nullptr; }, nullptr},
                     });
        if (c.place)
            steps.insert(steps.end(),
                         {
                             {name + " drag", [&c] { return c.item() != nullptr; }, [&] { drag(c.item(), c.place()); }},
                             {name + "_dragged", [&c] { return !c.holding() && c.placed(); }, nullptr, true},
                         });
        if (name == "hammer")
            steps.insert(steps.end(), midStroke.begin(), midStroke.end());
        if (name == "plan_a_job")
            steps.insert(steps.end(), refused.begin(), refused.end());
        steps.push_back({name + " done", [] { return true; }, toMenu});
    }

    // The sticker book: a sticker in hand, and its back button closes the book at the first press.
    steps.insert(
        steps.end(),
        {
            {"menu for the book", [] { return Top<MainMenuMode>() != nullptr; },
             []
             {
                 ASSERT_TRUE(GameTesting::GiveStickers(*GetAccountManager()->GetCurrentAccount(), {2, 9, 30}, 56));
                 EXPECT_TRUE(Click("StickerBookButton"));
             }},
            {"sticker book", [] { return Top<StickerBookMode>() != nullptr && TopNode("Sticker_9") != nullptr; },
             ClickOn("Sticker_9")},
            {"sticker_book_in_hand", [] { return DragSource<Sticker*>::GetHeldDragSource() != nullptr; },
             ClickOn("BackButton"), true},
            {"book closed at the first press", [] { return Top<MainMenuMode>() != nullptr; }, nullptr},
        });

    PlaySteps();
}

// At Hard, in the jigsaw and the job-order game, the button that closes a screen over the game (Skip of
// the instruction pop-up after the intro and after Help, No of the quit question) is put over an item of
// the game; after the press on it, one press on another item takes that item in hand. So it does after
// a press meant for Skip that comes just after the pop-up closed by itself, which lands on the item.
TEST_F(PlayThroughTest, NoPressIsLostAfterAPopUpOrQuestionClosesOverAnItem)
{
    mDeadline = std::chrono::steady_clock::now() + 300s;
    // The press nodes of the items of the game `mode` that lie at rest and take a press, its mask down.
    using Items = std::function<std::vector<SceneNode*>(ApplicationMode*)>;
    const auto unmasked = [](MiniGameMode* game)
    { return game != nullptr && (game->getInputMask() == nullptr || !game->getInputMask()->LocalIsVisible()); };
    const Items pieces = [unmasked](ApplicationMode* mode)
    {
        std::vector<SceneNode*> found;
        auto* game = dynamic_cast<SproutPuzzleMode*>(mode);
        if (!unmasked(game) || !game->isScattered())
            return found;
        for (SproutPuzzlePiece* piece : game->getPieces())
        {
            SceneNode* root = piece->LayoutRoot();
            SceneNode* image = piece->getImageNode();
            if (root != nullptr && image != nullptr && image->hitTest && root->GetParent() != nullptr &&
                std::string(root->GetParent()->GetNodeName().c_str()).rfind("Spot_", 0) == 0 &&
                root->LocalGetLocation() == Vector2<float>() && root->GetTaskQueue().IsEmpty())
                found.push_back(image);
        }
        return found;
    };
    const Items cards = [unmasked](ApplicationMode* mode)
    {
        std::vector<SceneNode*> found;
        auto* game = dynamic_cast<PlanAJobMode*>(mode);
        if (!unmasked(game))
            return found;
        for (JobSequenceItem* card : game->getItems())
        {
            SceneNode* root = card->LayoutRoot();
            SceneNode* image = card->getImageNode();
            if (root != nullptr && image != nullptr && image->hitTest && root->LocalIsVisible() &&
                root->GetTaskQueue().IsEmpty())
                found.push_back(image);
        }
        return found;
    };

    struct Game
    {
        const char* button; // the free-play button
        Items items;
        std::function<SceneNode*()> held;              // the press node of the item in hand, asked with the game on top
        std::function<size_t(ApplicationMode*)> count; // of all its items (0 for another mode)
    };
    const Game games[] = {
        {"SproutPuzzle", pieces,
         []() -> SceneNode*
         {
             const auto* held = DragSource<SproutPuzzlePiece*>::GetHeldDragSource();
             return held != nullptr ? held->GetDragItem()->getImageNode() : nullptr;
         },
         [](ApplicationMode* mode)
         {
             auto* game = dynamic_cast<SproutPuzzleMode*>(mode);
             return game != nullptr ? game->getPieces().size() : 0u;
         }},
        {"PlanAJob", cards,
         []() -> SceneNode*
         {
             const auto* held = DragSource<JobSequenceItem*>::GetHeldDragSource();
             return held != nullptr ? held->GetDragItem()->getImageNode() : nullptr;
         },
         [](ApplicationMode* mode)
         {
             auto* game = dynamic_cast<PlanAJobMode*>(mode);
             return game != nullptr ? game->getItems().size() : 0u;
         }},
    };
    const auto popUp = [] { return Top<ForemanInstructionMode>() != nullptr; };
    struct Closer
    {
        const char* name;
        const char* opener; // the game's button that opens the screen; null: it opens after the intro
        const char* closer; // the screen's button that closes it
        std::function<bool()> up;
        bool late; // the screen closes by itself, and the press meant for its button comes after
    };
    const Closer closers[] = {
        {"skip", nullptr, "SkipButton", popUp, false},
        {"help then skip", "HelpButton", "SkipButton", popUp, false},
        {"quit then no", "QuitButton", "NoButton", [] { return Top<QuitConfirmMode>() != nullptr; }, false},
        {"help then skip too late", "HelpButton", "SkipButton", popUp, true},
    };

    // Where the item under the closing button lies, and the item pressed after it.
    Vector2<int> under;
    SceneNode* other = nullptr;
    const auto eventsPending = []
    { return SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0; };

    steps = ToProfileMenu();
    for (const Game& game : games)
    {
        AddSteps(MenuToGame(game.button, game.button, "Hard"));
        for (const Closer& closer : closers)
        {
            const std::string name = std::string(game.button) + " " + closer.name;
            if (closer.opener != nullptr)
                steps.push_back({name + " open",
                                 [&game]
                                 {
                                     MiniGameMode* mode = Top<MiniGameMode>();
                                     return game.held() == nullptr && game.count(mode) > 1 &&
                                            game.items(mode).size() == game.count(mode);
                                 },
                                 ClickOn(closer.opener)});
            steps.push_back({name + " over an item",
                             [&game, &closer]
                             { return closer.up() && game.items(MainLoop::GetTopMostMode(1)).size() >= 2; },
                             [&game, &closer, &under]
                             {
                                 under = Centre(game.items(MainLoop::GetTopMostMode(1)).front());
                                 SceneNode* button = TopNode(closer.closer);
                                 ASSERT_NE(button, nullptr);
                                 const Vector2<int> at = Centre(button);
                                 button->LocalSetLocation(button->LocalGetLocation() +
                                                          Vector2<float>(static_cast<float>(under.x - at.x),
                                                                         static_cast<float>(under.y - at.y)));
                                 if (!closer.late)
                                     EXPECT_TRUE(Click(closer.closer));
                             }});
            // Too late: the pop-up has gone, and the press lands on the item, which it takes.
            if (closer.late)
                steps.insert(steps.end(),
                             {
                                 {name + " closed by itself", [] { return Top<MiniGameMode>() != nullptr; },
                                  [&under] { ClickAt(under.x, under.y); }},
                                 {name + " item under it taken", [&game] { return game.held() != nullptr; }, nullptr},
                             });
            steps.insert(steps.end(),
                         {
                             {name + " back in the game",
                              [&game, &under]
                              {
                                  const std::vector<SceneNode*> items = game.items(Top<MiniGameMode>());
                                  return std::any_of(items.begin(), items.end(),
                                                     [&under](SceneNode* item) { return Centre(item) != under; });
                              },
                              [&game, &under, &other]
                              {
                                  other = nullptr;
                                  for (SceneNode* item : game.items(Top<MiniGameMode>()))
                                      if (other == nullptr || Centre(other) == under)
                                          other = item;
                                  ClickNode(other);
                              }},
                             // Once the press has reached the game, the item pressed is in hand.
                             {name + " one press", [eventsPending] { return !eventsPending(); },
                              [&game, &other, name]
                              {
                                  EXPECT_EQ(game.held(), other) << name << ": the first press after it took nothing";
                                  // A press beside everything sends it home.
                                  ClickAt(790, 320);
                              }},
                             {name + " put back",
                              [&game]
                              {
                                  MiniGameMode* mode = Top<MiniGameMode>();
                                  return game.held() == nullptr && game.count(mode) > 1 &&
                                         game.items(mode).size() == game.count(mode);
                              },
                              nullptr},
                         });
        }
        steps.push_back(
            {std::string(game.button) + " done", [] { return true; },
             [] { GetLevelManager().getModeQueue().unwindTo(GetLevelManager().getStoryScreens().mainMenu()); }});
    }

    PlaySteps();
}
