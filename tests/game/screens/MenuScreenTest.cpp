#include "game/screens/MenuScreen.h"
#include "game/ForemanInstructionMode.h"
#include "game/screens/ScreenContent.h"

#include "scene/ButtonNode.h"
#include "scene/NodePath.h"

#include "../GameScreenTestSupport.h"
#include "support/CapturedLog.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace GameTesting;

namespace
{

const char* const kContent = R"(
<scenelayout name="StandInLayout"><scenenode nodeName="StandIn">
  <buttonnode nodeName="Go" name="Go"/><buttonnode nodeName="Close" name="Close"/>
  <buttonnode nodeName="Story" name="Story"/><buttonnode nodeName="Cover" name="Cover"/>
  <buttonnode nodeName="Nowhere" name="Nowhere"/><buttonnode nodeName="Stray" name="Stray"/>
  <radiobuttonnode nodeName="Pick" name="Pick" group="G"/><staticspritenode nodeName="Heading"/>
</scenenode></scenelayout>
<scenelayout name="ForemanInstructionModeLayout"><scenenode nodeName="ForemanInstructionMode">
  <animatedspritenode nodeName="LevelIntroForeman"/><buttonnode nodeName="SkipButton" name="OkButton"/>
</scenenode></scenelayout>
<countedimagelist name="Button_Go_EN" count="5"/><countedimagelist name="Button_Go_SP" count="5"/>
<LevelProg name="Story"><Cutscene cutsceneID="Intro"/></LevelProg>
)";

// "Gone" is in no layout: its words are skipped.
constexpr sScreenWords kWords[] = {ButtonWords("Go", "Button_Go"), PictureWords("Heading_Test", "Heading"),
                                   ButtonWords("Gone", "Button_Gone")};
constexpr sContentName kMore[] = {{ContentKind_ImageList, "Extra", 2, 3}};
const sMenuScreen kStandIn{"stand-in", "StandInLayout", kWords, MusicMode_GeneralUI, "desc", kMore};

class StandInScreen : public MenuScreen
{
public:
    explicit StandInScreen(const sMenuScreen& screen = kStandIn) : MenuScreen(screen)
    {
        OnButton(
            "Go", [this] { calls.push_back("go"); });
        OnWidget(
            "RadioButtonClick", "Pick", [this] { calls.push_back("pick"); });
        OnButton(
            "Close", [this] { Close(); });
        OnButton(
            "Story", [this] { BeginNextStep(); });
        OnButton(
            "Cover", [this] { PushOver(std::make_unique<NamedMode>("cover")); });
        OnButton("Nowhere", [this] { UnwindTo(nullptr); });
    }
    std::vector<std::string> calls;
};

class MenuScreenTest : public GameScreenTest
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(SetUpScreens(L"Menus", L"1"));
        LoadManifest(kContent, L"menus");
        RecordModeQueue(
            [](std::unique_ptr<ApplicationMode>& mode)
            {
                auto* named = dynamic_cast<NamedMode*>(mode.get());
                return named != nullptr ? named->what : std::string("?");
            });
        StoryScreenConstructors screens;
        screens.cutscene = [](Label id) { return std::make_unique<NamedMode>(std::string("cutscene ") + id.c_str()); };
        GetLevelManager().setStoryScreenConstructors(screens);
        GetLevelManager().setLevelProgression(Label("Story"));
    }

    // What a press of the widget sends, delivered in the frame of the press.
    static void Press(ApplicationMode& mode, const char* root, const char* widget, const char* message = "ButtonClick")
    {
        const NodePathStep path[] = {root, widget, NodePathTerminator()};
        SceneNode* node = RootDescendent(path);
        ASSERT_NE(node, nullptr) << widget;
        mode.ReceiveMessage(ObjectMessage(node->GetID(), Label(message)));
    }
};

TEST_F(MenuScreenTest, TheTableDispatchesAndEveryWayOfLeavingActsOnceInAFrame)
{
    const struct
    {
        std::vector<std::pair<const char*, const char*>> presses; // widget, message
        std::vector<std::string> calls;
        std::vector<std::string> queued;
        bool left;
        bool backInCharge;     // takes clicks again when entered again
        long unregistered = 0; // log lines saying so
    } cases[] = {
        // Unknown widgets and a widget's other messages are ignored.
        {{{"Go", "ButtonClick"},
          {"Stray", "ButtonClick"},
          {"Pick", "ButtonClick"},
          {"Go", "RadioButtonClick"},
          {"Pick", "RadioButtonClick"}},
         {"go", "pick"},
         {},
         false,
         true},
        {{{"Close", "ButtonClick"}, {"Close", "ButtonClick"}, {"Go", "ButtonClick"}}, {}, {"pop"}, true, false},
        // The story step and the close share the one guard.
        {{{"Story", "ButtonClick"}, {"Story", "ButtonClick"}, {"Close", "ButtonClick"}},
         {},
         {"unwind cutscene Intro"},
         true,
         false},
        {{{"Cover", "ButtonClick"}, {"Cover", "ButtonClick"}, {"Go", "ButtonClick"}}, {}, {"push cover"}, true, true},
        // A screen nobody registered is logged and the screen stays in charge.
        {{{"Nowhere", "ButtonClick"}, {"Go", "ButtonClick"}}, {"go"}, {}, false, true, 1},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(&c - cases);
        GetLevelManager().resetLevelProgress();
        StandInScreen screen;
        Start(screen);
        const auto log = LogLines(
            [&]
            {
                for (const auto& [widget, message] : c.presses)
                    Press(screen, "StandIn", widget, message);
            });
        EXPECT_EQ(screen.calls, c.calls);
        EXPECT_EQ(TakeQueued(), c.queued);
        EXPECT_EQ(screen.HasLeft(), c.left);
        EXPECT_EQ(std::count(log.begin(), log.end(), "No screen is registered for this button"), c.unregistered);
        // Entered again when the mode above closes: a screen that was only covered is back in charge.
        screen.Enter();
        Press(screen, "StandIn", "Go");
        EXPECT_EQ(screen.calls.size(), c.calls.size() + (c.backInCharge ? 1 : 0));
        screen.Destroy();
    }
}

TEST_F(MenuScreenTest, EntryShowsTheWordsOfTheLanguagePlaysTheMusicAndAsks)
{
    for (const bool english : {true, false})
    {
        SCOPED_TRACE(english);
        Profile()->WriteValue(L"EnglishLanguage", english);
        GetAudioManager()->setMusicMode(MusicMode_None, Label());
        StandInScreen screen;
        Start(screen);
        const NodePathStep go[] = {"StandIn", "Go", NodePathTerminator()};
        EXPECT_EQ(RootDescendent<ButtonNode>(go)->GetImages(),
                  AutoResource<IImageList>(english ? "Button_Go_EN" : "Button_Go_SP").Get());
        EXPECT_EQ(GetAudioManager()->getMusicMode(), MusicMode_GeneralUI);
        EXPECT_TRUE(GetAudioManager()->getIsPlayingOrUpcoming(Sound("desc")));
        GetAudioManager()->clearVocalAudioQueues();
        screen.Destroy();
    }

    // Without its layout the screen is empty, says so once, and still enters.
    const sMenuScreen lost{"stand-in", "NoSuchLayout"};
    StandInScreen screen(lost);
    MainLoop::WithinContext(&screen, context);
    EXPECT_EQ(LogLines([&] { screen.Setup(); }),
              std::vector<std::string>{"The stand-in has no layout \"NoSuchLayout\""});
    screen.Enter();
    screen.Destroy();
}

TEST_F(MenuScreenTest, ThePopUpClosesOnceWhenItsDescriptionEndsInTheFrameOfAClick)
{
    ForemanInstructionMode popUp(Label("PaintIt"), IntroForemanState_Default);
    Start(popUp);
    popUp.closeMode();
    Press(popUp, "ForemanInstructionMode", "SkipButton");
    popUp.closeMode();
    EXPECT_EQ(TakeQueued(), std::vector<std::string>{"pop"});
    EXPECT_TRUE(popUp.isClosing());
    popUp.Destroy();
}

TEST_F(MenuScreenTest, TheContentListHoldsEveryNameOfTheDescriptionAndEveryScreenRegistersOnce)
{
    const std::vector<std::pair<eContentKind, std::string>> expected = {{ContentKind_SceneLayout, "StandInLayout"},
                                                                        {ContentKind_LocalizedImageList, "Button_Go"},
                                                                        {ContentKind_LocalizedImage, "Heading_Test"},
                                                                        {ContentKind_LocalizedImageList, "Button_Gone"},
                                                                        {ContentKind_Voice, "desc"},
                                                                        {ContentKind_ImageList, "Extra"}};
    std::vector<std::pair<eContentKind, std::string>> names;
    for (const sContentName& name : ScreenContentNames(kStandIn))
        names.emplace_back(name.kind, name.name);
    EXPECT_EQ(names, expected);
    EXPECT_EQ(ScreenContentNames(kStandIn).back().atLeast, 2);

    RegisterScreenContent();
    const size_t lists = GetContentLists().size();
    RegisterScreenContent();
    EXPECT_EQ(GetContentLists().size(), lists);
    size_t screens = 0;
    for (const sContentList& list : GetContentLists())
        if (!list.names.empty() && list.names.front().kind == ContentKind_SceneLayout)
            ++screens;
    EXPECT_GE(screens, 12u);
}

} // namespace
