#include "game/HammerTheNail/HammerTheNailMode.h"

#include "game/HammerTheNail/DraggableTool.h"
#include "game/HammerTheNail/HammerTheNailGame.h"
#include "game/HammerTheNail/HammerTheNailLevel.h"
#include "game/HammerTheNail/TargetNail.h"
#include "scene/NodePath.h"

#include "../MiniGameTestSupport.h"

#include <algorithm>
#include <filesystem>

using namespace GameTesting;

namespace
{

const char* const kSounds[] = {"FixIt_GameComplete", "FixIt_NailComplete", "FixIt_ClickAgain", "FixIt_WrongTool",
                               "SFX_ObjectRollover", "SFX_ObjectStick",    "SFX_Screw",        "SFX_Toolbox"};

// Stand-in pictures: any counted list of the counting game's art gives the nodes a size to hit.
std::string FixtureManifest()
{
    std::string text;
    const auto list = [&](const std::string& name)
    { text += "<imagelist name=\"" + name + "\" pattern=\"Materials-Plant_%1%\" first=\"0\" last=\"3\"/>"; };
    for (const char* tool : kFixItToolTypeNames)
    {
        list(std::string("FixIt_Tool_InBox_") + tool);
        for (const char* color : kFixItToolColorNames)
            list(std::string("FixIt_Nail_") + tool + "_" + color);
    }
    list("FixIt_Tool_InBox_rollover");
    list("FixIt_Tool_InHand_Wrench");
    // The turn (0.6 s) outlasts the foreman's mouth (0.3 s), so a stroke that ended with the mouth shows.
    for (const char* tool : {"DriverPlus", "DriverMinus"})
        for (const char* color : kFixItToolColorNames)
            text += std::string("<spritetype name=\"SpriteType_") + tool + "_" + color +
                    R"(" images="FixIt_Tool_InHand_Wrench"><animation name="Normal" frameList="0" fps="1" numPlays="0"/>
                    <animation name="Rotate" frameList="0,1,2,3,2,1" fps="10" numPlays="1"/></spritetype>)";
    text += R"(
      <scenelayout name="HammerTheNailModeLayout"><scenenode nodeName="GameScreenRoot" width="800" height="600">
        <scenenode nodeName="Playfield" width="800" height="600">
          <scenenode nodeName="DropItem_ClickMask" width="800" height="600"/>
          <scenenode nodeName="MaterialSources"><scenenode nodeName="Source_1" x="0" y="450"/>
            <scenenode nodeName="Source_2" x="200" y="450"/><scenenode nodeName="Source_3" x="400" y="450"/>
            <scenenode nodeName="Source_4" x="600" y="450"/></scenenode>
          <scenenode nodeName="MaterialTargets" x="0" y="50"/>
          <scenenode nodeName="InGameForeman" visible="false"><scenenode nodeName="mouth" visible="false"/></scenenode>
          <scenenode nodeName="MaskInput_ClickMask" width="800" height="600"/>
        </scenenode>
        <scenenode nodeName="FX_Layer" width="800" height="600"/>
      </scenenode></scenelayout>
      <scenelayout name="ToolLayout"><scenenode nodeName="Tool">
        <staticspritenode nodeName="shapeNode"><staticspritenode nodeName="rolloverNode"/></staticspritenode>
      </scenenode></scenelayout>
      <scenelayout name="FloatingToolLayout"><scenenode nodeName="Float">
        <staticspritenode nodeName="WrenchAnimNode" visible="false"/>
        <animatedspritenode nodeName="DriverAnimNode" visible="false"/>
      </scenenode></scenelayout>
      <scenelayout name="NailLayout"><scenenode nodeName="Nail"><staticspritenode nodeName="shapeNode"/></scenenode>
      </scenelayout>
      <float name="FixIt_ToolSpinTime" value="0.3"/>
      <vector2farray name="WrenchToolAttachOffset"><vector2f x="0" y="0"/><vector2f x="5" y="-20"/>
        <vector2f x="5" y="-30"/><vector2f x="5" y="-40"/></vector2farray>
      <vector2farray name="ScrewToolAttachOffset"><vector2f x="0" y="0"/><vector2f x="-3" y="-10"/>
        <vector2f x="-3" y="-20"/><vector2f x="-3" y="-30"/></vector2farray>
      <vector2farray name="WrenchCounterRotationPath"><vector2f x="0" y="30"/><vector2f x="20" y="40"/></vector2farray>
      <intarray name="RepeatedGameNumLoops"><int value="0"/><int value="1"/><int value="1"/></intarray>)";
    return text;
}

class HammerTheNailModeTest : public MiniGameTest
{
protected:
    void SetUp() override { SetUpGame(HammerTheNailDescription(), kSounds, FixtureManifest(), L"hammer"); }

    static SceneNode* Mouth() { return PlayfieldNode("InGameForeman", "mouth"); }
    static DraggableTool* Fitting(const HammerTheNailMode& game, const TargetNail& nail)
    {
        return First(
            game.getTools(), [&](const DraggableTool& tool) { return nail.fits(tool); });
    }
    // Drives every nail home with its own tool, checking each stroke on the way: the tool pinned at the
    // nail's attach offset, the picture stepping down only when the turn has ended, a screwdriver's turn
    // lasting its "Rotate", the wrench swinging along its path and back upright at its place.
    void DriveEveryNail(HammerTheNailMode& game)
    {
        for (TargetNail* nail : game.getNails())
        {
            DraggableTool* tool = Fitting(game, *nail);
            ASSERT_NE(tool, nullptr);
            if (!tool->isHeld())
                Click(game, *tool->getShapeNode());
            ASSERT_TRUE(tool->isHeld());
            const bool wrench = tool->getType() == FixItToolType_Wrench;
            while (!nail->isDriven())
            {
                const int left = nail->getStrokesLeft();
                Click(game, *nail->getShapeNode());
                SceneNode* animated = tool->getAnimatedNode();
                ASSERT_NE(animated, nullptr);
                const Rect<float> at = animated->GetParent()->GlobalGetBounds();
                const Rect<float> home = nail->LayoutRoot()->GlobalGetBounds();
                const Vector2<float> offset =
                    wrench ? Vector2<float>(5, -10.0f * left - 10) : Vector2<float>(-3, -10.0f * left);
                EXPECT_EQ(Vector2<float>(at.x - home.x, at.y - home.y), offset) << left;
                if (wrench)
                {
                    ASSERT_TRUE(StepUntil(
                        game, [&] { return animated->LocalGetLocation().y > 10; }))
                        << "the wrench swings along its path";
                }
                else
                {
                    ASSERT_TRUE(StepUntil(
                        game, [&] { return Mouth()->LocalIsVisible(); }));
                    ASSERT_TRUE(StepUntil(game, [&] { return !Mouth()->LocalIsVisible(); }));
                    EXPECT_EQ(nail->getStrokesLeft(), left) << "the screwdriver still turns";
                    EXPECT_FALSE(Open());
                }
                ASSERT_TRUE(StepUntil(game, [&] { return nail->getStrokesLeft() == left - 1; }));
                // The round's last stroke puts the tool back, and its copy goes.
                if ((animated = tool->getAnimatedNode()) != nullptr)
                {
                    EXPECT_EQ(animated->LocalGetLocation(), Vector2<float>());
                    EXPECT_NEAR(animated->LocalGetOrientation().GetValue(), 0.0f, 1e-5f);
                }
                const std::vector<TargetNail*> nails = game.getNails();
                const bool won = std::all_of(
                    nails.begin(), nails.end(), [](TargetNail* n) { return n->isDriven(); });
                ASSERT_TRUE(StepUntil(game, [&] { return won || Open(); }));
            }
        }
    }
    static DraggableTool* Tool(const HammerTheNailMode& game, FixItToolColor color)
    {
        for (DraggableTool* tool : game.getTools())
            if (tool->getColor() == color)
                return tool;
        return nullptr;
    }
};

TEST_F(HammerTheNailModeTest, WrongToolSwapStrokesAndADrivenNailThenTheLevelEndsWithTheReward)
{
    LoadLevel(GameModeDifficulty_Easy, "", R"(<Nail type="Wrench" color="Red" clickCount="2" x="100" y="100"/>
                 <Nail type="Wrench" color="Blue" clickCount="1" x="500" y="100"/>)");
    auto game = std::make_unique<HammerTheNailMode>(true, -1);
    Start(*game);
    ASSERT_EQ(game->getTools().size(), 2u);
    ASSERT_EQ(game->getNails().size(), 2u);
    TargetNail* red = game->getNails()[0];
    TargetNail* blue = game->getNails()[1];
    ASSERT_TRUE(Open());

    // A press on a nail with nothing in hand does nothing.
    Click(*game, *red->getShapeNode());
    Step(*game);
    EXPECT_TRUE(spoken.empty());

    // The blue wrench on the red nail: a hint, no stroke, the wrench stays in hand.
    DraggableTool* blueWrench = Tool(*game, FixItToolColor_Blue);
    DraggableTool* redWrench = Tool(*game, FixItToolColor_Red);
    Click(*game, *blueWrench->getShapeNode());
    ASSERT_TRUE(blueWrench->isHeld());
    EXPECT_EQ(blueWrench->getShapeNode()->LocalGetAlpha(), 0.0f);
    Click(*game, *red->getShapeNode());
    ASSERT_TRUE(StepUntil(*game, [this] { return Heard("FixIt_WrongTool"); }));
    EXPECT_EQ(red->getStrokesLeft(), 2);
    EXPECT_TRUE(blueWrench->isHeld());

    // A press on the red wrench swaps: the blue one is back in the box.
    Click(*game, *redWrench->getShapeNode());
    EXPECT_TRUE(redWrench->isHeld());
    EXPECT_FALSE(blueWrench->isHeld());
    EXPECT_EQ(blueWrench->getShapeNode()->LocalGetAlpha(), 1.0f);

    // Two strokes drive the red nail; each masks the playfield until its turn ends.
    for (int left = 2; left > 0; --left)
    {
        Click(*game, *red->getShapeNode());
        EXPECT_FALSE(Open()) << left;
        EXPECT_EQ(red->getStrokesLeft(), left) << "the picture steps down only when the turn ends";
        ASSERT_TRUE(StepUntil(*game, [&] { return Open() && red->getStrokesLeft() == left - 1; })) << left;
        EXPECT_TRUE(redWrench->isHeld());
    }
    EXPECT_TRUE(Heard("FixIt_ClickAgain"));
    ASSERT_TRUE(Heard("FixIt_NailComplete"));
    spoken.clear();
    // A driven nail only says so.
    Click(*game, *red->getShapeNode());
    ASSERT_TRUE(StepUntil(*game, [this] { return Heard("FixIt_NailComplete"); }));
    EXPECT_EQ(red->getStrokesLeft(), 0);

    // A press on the empty playfield puts the wrench back; the blue one drives the last nail and wins.
    Click(*game, *Mask());
    EXPECT_FALSE(redWrench->isHeld());
    Click(*game, *blueWrench->getShapeNode());
    Click(*game, *blue->getShapeNode());
    ASSERT_TRUE(StepUntil(*game, [this] { return Ended(); }));
    EXPECT_TRUE(Heard("FixIt_GameComplete"));
    EXPECT_FALSE(blueWrench->isHeld()) << "the outro puts the tool back";
    EXPECT_FALSE(Open()) << "a won round keeps its mask up";
    EXPECT_EQ(screens, (std::vector<std::string>{"push reward"}));
}

TEST_F(HammerTheNailModeTest, NoPlayableLevelShowsTheMissingLevelNoticeAndAnEmptyPlayfield)
{
    const auto game = StartWithoutLevel<HammerTheNailMode>(
        R"(<HammerTheNailLevel name="HtnNever" difficulty="Easy"><Nail type="Wrench" color="Red"/></HammerTheNailLevel>)",
        "HammerTheNailMode", true, -1);
    EXPECT_EQ(screens, std::vector<std::string>{"push instructions"}) << "the first round still explains the game";
    EXPECT_TRUE(game->getTools().empty());
    EXPECT_TRUE(game->getNails().empty());
    EXPECT_TRUE(StepUntil(*game, [&] { return PlayfieldNode("InGameForeman")->LocalIsVisible(); }));
}

TEST_F(HammerTheNailModeTest, MediumAndHardLevelsAreWonRoundAfterRoundAndTheHintTimerEndsASwapOnOne)
{
    // Medium and Hard play one round more than Easy ("RepeatedGameNumLoops").
    const std::string levels[] = {
        R"(<Tool type="DriverMinus" color="Green"/>
           <Nail type="DriverPlus" color="Yellow" clickCount="3" x="100" y="100"/>
           <Nail type="Wrench" color="Green" clickCount="2" x="400" y="100"/>)",
        R"(<Nail type="DriverMinus" color="Blue" clickCount="2" x="50" y="100"/>
           <Nail type="DriverPlus" color="Red" clickCount="1" x="250" y="100"/>
           <Nail type="Wrench" color="Yellow" clickCount="3" x="450" y="100"/>
           <Nail type="DriverMinus" color="Red" clickCount="3" x="650" y="100"/>)"};
    const GameModeDifficulty difficulties[] = {GameModeDifficulty_Medium, GameModeDifficulty_Hard};
    for (int i = 0; i < 2; ++i)
    {
        SCOPED_TRACE(levels[i]);
        LoadLevel(difficulties[i], "", levels[i]);
        screens.clear();
        auto game = std::make_unique<HammerTheNailMode>(true, -1);
        Start(*game);
        ASSERT_EQ(game->getNails().size(), i == 0 ? 2u : 4u);

        // A swap: the new tool's pick-up re-arms the hint timer with 2, the old one's put-back with 1.
        std::vector<DraggableTool*> tools = game->getTools();
        Click(*game, *tools[0]->getShapeNode());
        EXPECT_EQ(game->getHintNumber(), 2);
        Click(*game, *tools[1]->getShapeNode());
        EXPECT_TRUE(tools[1]->isHeld());
        EXPECT_FALSE(tools[0]->isHeld());
        EXPECT_EQ(game->getHintNumber(), 1);

        DriveEveryNail(*game);
        ASSERT_TRUE(StepUntil(*game, [this] { return Ended(); }));
        EXPECT_EQ(screens, (std::vector<std::string>{"unwind next round"}));
        auto* next = dynamic_cast<HammerTheNailMode*>(nextRound.get());
        ASSERT_NE(next, nullptr);
        game.reset(static_cast<HammerTheNailMode*>(nextRound.release()));
        screens.clear();
        Start(*game);
        EXPECT_EQ(std::count(screens.begin(), screens.end(), "push instructions"), 0) << "only the first round";
        DriveEveryNail(*game);
        ASSERT_TRUE(StepUntil(*game, [this] { return Ended(); }));
        EXPECT_EQ(screens, (std::vector<std::string>{"push reward"}));
    }
}

} // namespace

TEST_F(HammerTheNailModeTest, TheToolInHandHangsFromThePointerByThePointThatWorksTheNail)
{
    LoadLevel(GameModeDifficulty_Easy, "", R"(<Tool type="Wrench" color="Red"/><Tool type="DriverPlus" color="Blue"/>
                 <Nail type="DriverPlus" color="Blue" clickCount="1" x="300" y="100"/>)");
    auto game = std::make_unique<HammerTheNailMode>(true, -1);
    Start(*game);
    ASSERT_TRUE(Open());
    // Picked up at a corner of its compartment, moved, then moved onto the nail: the jaw or the tip is at
    // the pointer each time, and a press there strikes.
    for (const FixItToolColor color : {FixItToolColor_Red, FixItToolColor_Blue})
    {
        DraggableTool* tool = Tool(*game, color);
        ASSERT_NE(tool, nullptr);
        const Rect<float> box = tool->getShapeNode()->GlobalGetBounds();
        ClickAt(*game, static_cast<int>(box.x + 2), static_cast<int>(box.y + 2));
        ASSERT_TRUE(tool->isHeld()) << color;
        const bool wrench = tool->getType() == FixItToolType_Wrench;
        for (const Vector2<int> pointer : {Vector2<int>(250, 320), Vector2<int>(120, 200)})
        {
            game->OnMouseMove(pointer.x, pointer.y);
            const Rect<float> picture = tool->getAnimatedNode()->GlobalGetBounds();
            const Vector2<float> working =
                wrench ? Vector2<float>(picture.x + 10, picture.y + picture.height / 2)
                       : Vector2<float>(picture.x + picture.width / 2, picture.y + picture.height - 2);
            EXPECT_EQ(working, Vector2<float>(static_cast<float>(pointer.x), static_cast<float>(pointer.y)))
                << color << " at " << pointer.x << "," << pointer.y;
        }
    }
    TargetNail* nail = game->getNails()[0];
    const Rect<float> head = nail->getShapeNode()->GlobalGetBounds();
    ClickAt(*game, static_cast<int>(head.x + head.width / 2), static_cast<int>(head.y + head.height - 4));
    EXPECT_FALSE(Open()) << "the stroke started where the tip was put";
    ASSERT_TRUE(StepUntil(*game, [&] { return nail->isDriven(); }));
}
