#include "game/ToolShed/ToolShedMode.h"

#include "game/MiniGamePattern.h"
#include "game/ToolShed/ToolShedGame.h"
#include "game/ToolShed/ToolShedItem.h"
#include "game/ToolShed/ToolShedLevel.h"
#include "game/ToolShed/ToolShedToolBox.h"
#include "game/YardcrewNames.h"
#include "graphics/ImageList.h"
#include "scene/NodePath.h"
#include "scene/SpriteNodes.h"

#include "../MiniGameTestSupport.h"

#include <algorithm>
#include <filesystem>

using namespace GameTesting;

namespace
{

const char* const kSounds[] = {"ToolShed_GameComplete", "ToolShed_WrongBox", "SFX_ToolShedLand",
                               "SFX_Toolbox",           "SFX_Whoosh",        "SFX_ObjectStick",
                               "SFX_ObjectRollover"};

// The shipped pictures, layouts and tuning, so the code meets the nodes and names it runs with; the
// words and effects are short stand-ins.
std::string FixtureManifest()
{
    std::string text = ReadDataFile(std::filesystem::path(MENAGERIE_DATA_DIR) / "ToolShedMode.xml");
    text = text.substr(text.find("<manifest>") + 10);
    text = text.substr(0, text.find("</manifest>"));
    for (const char* tool : kYardcrewToolNames)
        text += std::string("<sound name=\"Word_Tool_") + tool + "\" src=\"w\"/>";
    text += "<soundlist name=\"General_ToolWords\">";
    for (const char* tool : kYardcrewToolNames)
        text += std::string("<sound event=\"") + tool + "\" src=\"Word_Tool_" + tool + "\"/>";
    return text + "</soundlist>";
}

class ToolShedModeTest : public MiniGameTest
{
protected:
    void SetUp() override
    {
        SetUpGame(ToolShedDescription(), kSounds, FixtureManifest(), L"shed", "toolshed");
        for (const char* tool : kYardcrewToolNames)
            watched.push_back(std::string("Word_Tool_") + tool);
    }

    static ToolShedItem* Held() { return HeldItem<ToolShedItem>(); }
    // Back at its place on the floor: under its spot again, where it landed, taking clicks.
    static bool OnTheFloor(ToolShedItem& tool, SceneNode* spot)
    {
        return tool.LayoutRoot()->GetParent() == spot && tool.LayoutRoot()->LocalGetLocation() == Vector2<float>() &&
               tool.getImageNode()->hitTest;
    }
    static const IImage* Frame(const char* list, int frame)
    {
        const AutoResource<ImageList> images{Label(list)};
        return images.Get() != nullptr ? images->GetImage(frame) : nullptr;
    }
    static ToolShedToolBox* BoxOf(ToolShedMode& game, const ToolShedTool& tool, bool right)
    {
        const Strata::AutoResource<ToolShedLevel> level(game.getLevel());
        for (ToolShedToolBox* box : game.getBoxes())
            if (level->Fits(box->getTakes(), tool) == right)
                return box;
        return nullptr;
    }
    // Waits for the tools to land, checking the throw: the floor stays closed and the pop-up waits.
    void WaitForLanding(ToolShedMode& game)
    {
        EXPECT_FALSE(Open());
        EXPECT_TRUE(screens.empty()) << "the instructions wait for the tools";
        ASSERT_TRUE(StepUntil(game, [&] { return Open(); }));
        EXPECT_TRUE(Heard("SFX_Whoosh"));
        EXPECT_TRUE(Heard("SFX_ToolShedLand"));
        EXPECT_EQ(std::count(screens.begin(), screens.end(), "push instructions"), 1);
        for (ToolShedItem* tool : game.getTools())
        {
            EXPECT_TRUE(tool->LayoutRoot()->LocalIsVisible());
            EXPECT_EQ(tool->LayoutRoot()->LocalGetLocation(), Vector2<float>()) << "landed on its place";
        }
    }
    // Carries every tool still on the floor into its box, checking each drop; the game then ends.
    void SortEveryTool(ToolShedMode& game)
    {
        for (ToolShedItem* tool : game.getTools())
        {
            if (tool->isInBox())
                continue;
            ToolShedToolBox* box = BoxOf(game, tool->getTool(), true);
            ASSERT_NE(box, nullptr);
            const int before = box->getToolCount();
            spoken.clear();
            Click(game, *tool->getImageNode());
            ASSERT_EQ(Held(), tool);
            Click(game, *box->getDropArea());
            EXPECT_EQ(Held(), nullptr);
            EXPECT_TRUE(tool->isInBox());
            EXPECT_EQ(tool->LayoutRoot()->GetParent(), box->getContentsNode());
            EXPECT_EQ(tool->LayoutRoot()->LocalGetLocation(),
                      GameConstant<std::vector<Vector2<float>>>("ToolShed_BoxToolOffsets").at(before));
            EXPECT_EQ(box->getToolCount(), before + 1);
            ASSERT_TRUE(StepUntil(game, [&] { return Heard("General_CorrectAnswer") || Ended(); }));
        }
        ASSERT_TRUE(StepUntil(game, [this] { return Ended(); }));
        EXPECT_TRUE(Heard("ToolShed_GameComplete"));
        EXPECT_FALSE(Open()) << "a won game keeps its mask up";
        EXPECT_EQ(screens, (std::vector<std::string>{"push reward"}));
    }
};

TEST_F(ToolShedModeTest, WrongBoxAndEmptyFloorSendTheToolBackThenEveryToolSortedEndsTheLevel)
{
    LoadLevel(GameModeDifficulty_Easy, R"(sortBy="Color")", R"(<Box color="Red"/><Box color="Blue"/>
              <Tool type="Hammer" color="Red"/><Tool type="Saw" color="Blue"/><Tool type="Drill" color="Red"/>)");
    auto game = std::make_unique<ToolShedMode>();
    Start(*game);
    ASSERT_EQ(game->getTools().size(), 3u);
    ASSERT_EQ(game->getBoxes().size(), 2u);
    ToolShedItem* hammer = game->getTools()[0];
    SceneNode* spot = hammer->LayoutRoot()->GetParent();
    WaitForLanding(*game);
    screens.clear();

    // Colour boxes are painted and carry no sign.
    for (ToolShedToolBox* box : game->getBoxes())
    {
        const NodePathStep sign[] = {"sign", NodePathTerminator()};
        EXPECT_FALSE(box->LayoutNode(sign)->LocalIsVisible());
    }
    // A box with nothing in hand is only a picture.
    ToolShedToolBox* red = BoxOf(*game, hammer->getTool(), true);
    ToolShedToolBox* blue = BoxOf(*game, hammer->getTool(), false);
    Click(*game, *red->getDropArea());
    EXPECT_EQ(Held(), nullptr);

    // Picked up: its name is spoken and the hint turns to the second.
    Click(*game, *hammer->getImageNode());
    ASSERT_EQ(Held(), hammer);
    EXPECT_EQ(game->getHintNumber(), 2);
    ASSERT_TRUE(StepUntil(*game, [this] { return Heard("Word_Tool_Hammer"); }));

    // A press on the empty floor sends it back to its place.
    game->OnMouseMove(790, 590);
    game->OnMouseDown(MouseButton_Left, 790, 590);
    game->OnMouseUp(MouseButton_Left, 790, 590);
    EXPECT_EQ(Held(), nullptr);
    ASSERT_TRUE(StepUntil(*game, [&] { return OnTheFloor(*hammer, spot); }));
    EXPECT_EQ(game->getHintNumber(), 1);

    // The blue box shakes it off with a word, and it flies back too.
    Click(*game, *hammer->getImageNode());
    ASSERT_EQ(Held(), hammer);
    Click(*game, *blue->getDropArea());
    EXPECT_EQ(Held(), nullptr);
    EXPECT_FALSE(hammer->isInBox());
    EXPECT_EQ(blue->getToolCount(), 0);
    ASSERT_TRUE(StepUntil(
        *game, [&] { return blue->LayoutRoot()->LocalGetLocation().x != 0.0f; }))
        << "it shakes";
    ASSERT_TRUE(StepUntil(
        *game, [&] { return Heard("ToolShed_WrongBox"); }));
    ASSERT_TRUE(StepUntil(*game, [&]
                          { return OnTheFloor(*hammer, spot) && blue->LayoutRoot()->LocalGetLocation().x == 0.0f; }));
    EXPECT_FALSE(Ended());

    // Sorted, a tool takes no more clicks; the last one ends the game.
    Click(*game, *hammer->getImageNode());
    Click(*game, *red->getDropArea());
    ASSERT_TRUE(hammer->isInBox());
    Click(*game, *hammer->getImageNode());
    EXPECT_EQ(Held(), nullptr);
    SortEveryTool(*game);
}

TEST_F(ToolShedModeTest, MediumAndHardShedsAreSortedByKindOrColourIntoRowsOfBoxes)
{
    struct Case
    {
        GameModeDifficulty difficulty;
        const char* sortBy;
        const char* body;
        size_t boxes;
    };
    const Case cases[] = {
        {GameModeDifficulty_Medium, "Type", R"(<Box type="Wrench"/><Box type="Level"/><Box type="Pliers"/>
            <Tool type="Pliers" color="Red"/><Tool type="Wrench" color="Yellow"/><Tool type="Level" color="Red"/>
            <Tool type="Wrench" color="Green"/><Tool type="Pliers" color="Blue"/>)",
         3},
        {GameModeDifficulty_Hard, "Color", R"(<Box color="Yellow"/><Box color="Green"/><Box color="Blue"/>
            <Box color="Red"/><Tool type="Brush" color="Green"/><Tool type="Screwdriver" color="Yellow"/>
            <Tool type="Brush" color="Red"/><Tool type="Drill" color="Blue"/><Tool type="Saw" color="Red"/>
            <Tool type="Level" color="Yellow"/><Tool type="Hammer" color="Green"/><Tool type="Pliers" color="Blue"/>
            <Tool type="Wrench" color="Red"/><Tool type="Drill" color="Yellow"/>)",
         4},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.sortBy);
        LoadLevel(c.difficulty, std::string("sortBy=\"") + c.sortBy + "\"", c.body);
        screens.clear();
        spoken.clear();
        auto game = std::make_unique<ToolShedMode>();
        Start(*game);
        ASSERT_EQ(game->getBoxes().size(), c.boxes);
        EXPECT_EQ(game->getSortBy(), FindName(kToolShedSortNames, c.sortBy));
        // The row of that many boxes, and every tool on a place of its own.
        const std::string row = "Boxes_" + std::to_string(c.boxes);
        for (ToolShedToolBox* box : game->getBoxes())
            EXPECT_EQ(box->LayoutRoot()->GetParent()->GetParent(), PlayfieldNode("Shelf", row.c_str()));
        std::set<SceneNode*> spots;
        for (ToolShedItem* tool : game->getTools())
            spots.insert(tool->LayoutRoot()->GetParent());
        EXPECT_EQ(spots.size(), game->getTools().size());
        // A kind box shows its kind's sign on the plain box; a colour box is painted.
        const NodePathStep signPath[] = {"sign", NodePathTerminator()};
        const NodePathStep frontPath[] = {"boxFront", NodePathTerminator()};
        for (ToolShedToolBox* box : game->getBoxes())
        {
            auto* sign = dynamic_cast<StaticSpriteNode*>(box->LayoutNode(signPath));
            auto* front = dynamic_cast<StaticSpriteNode*>(box->LayoutNode(frontPath));
            ASSERT_TRUE(sign != nullptr && front != nullptr);
            EXPECT_EQ(sign->LocalIsVisible(), c.sortBy == std::string("Type"));
            EXPECT_EQ(front->GetImage(),
                      Frame("ToolShedBox_Front",
                            c.sortBy == std::string("Type") ? ToolShedToolColor_Count : box->getTakes().color));
            if (sign->LocalIsVisible())
                EXPECT_EQ(sign->GetImage(), Frame("ToolShedBox_Sign", box->getTakes().type));
        }
        WaitForLanding(*game);
        SortEveryTool(*game);
    }
}

} // namespace
