#include "game/CountTheMaterials/CountTheMaterialsMode.h"

#include "game/CountTheMaterials/CountTheMaterialsGame.h"

#include "framework/ValueResources.h"
#include "game/CountTheMaterials/DraggableMaterial.h"
#include "game/CountTheMaterials/MaterialLoader.h"
#include "game/CountTheMaterials/MaterialTarget.h"
#include "graphics/FontResourceFactory.h"
#include "graphics/Image.h"
#include "scene/NodePath.h"
#include "scene/SpriteNodes.h"
#include "scene/TextSpriteNodes.h"

#include "../MiniGameTestSupport.h"

#include <filesystem>
#include <map>
#include <set>

using namespace GameTesting;

namespace
{

const char* const kSounds[] = {"CTM_IncorrectAnswer", "CTM_NotEnough",  "CTM_TooMuch",         "CTM_DiggerNoProb",
                               "CTM_TipperFinished",  "SFX_TipperMove", "SFX_DiggerMove",      "SFX_BrickDrop",
                               "SFX_ObjectRollover",  "SFX_SelectItem", "VO_Digger_AreWeReady"};

class CountTheMaterialsModeTest : public MiniGameTest
{
protected:
    void SetUp() override
    {
        MiniGameTest::SetUp();
        UseGame(CountTheMaterialsDescription());
        AddPictureReaders();
        RegisterFontResourceFactory();
        // The game's own data: its manifest, its pictures and fonts, and the real roads and places.
        AddDataFiles("counting");
        AddDataFiles("fonts");
        const std::filesystem::path data(MENAGERIE_DATA_DIR);
        files.AddFile(L"CountTheMaterialsMode.xml", ReadDataFile(data / "CountTheMaterialsMode.xml"));
        std::string constants = ReadDataFile(data / "GlobalConstants.xml");
        // The run lengths of the test's own table below.
        const size_t loops = constants.find("<intarray name=\"RepeatedGameNumLoops\">");
        constants.erase(loops, constants.find("</intarray>", loops) + 11 - loops);
        files.AddFile(L"GlobalConstants.xml", constants);
        LoadWithSounds(kSounds,
                       "<intarray name=\"RepeatedGameNumLoops\"><int value=\"0\"/><int value=\"1\"/>"
                       "<int value=\"1\"/></intarray>",
                       L"counting");
        ASSERT_TRUE(manager->Load(L"GlobalConstants")->IsComplete());
        ASSERT_TRUE(manager->Load(L"CountTheMaterialsMode")->IsComplete());
    }

    static std::vector<DraggableMaterial*> Piles(const CountTheMaterialsMode& game)
    {
        std::vector<DraggableMaterial*> piles;
        for (size_t place = 0; game.getPile(place) != nullptr; ++place)
            piles.push_back(game.getPile(place));
        return piles;
    }
    // The first pile the predicate picks; null when none does.
    static DraggableMaterial* Find(const CountTheMaterialsMode& game,
                                   const std::function<bool(const DraggableMaterial&)>& pick)
    {
        return First(Piles(game), pick);
    }
    static bool IsRequested(const CountTheMaterialsMode& game, const DraggableMaterial& pile)
    {
        return pile.getMaterial() == game.getTipper()->getRequestedMaterial() &&
               pile.getNumber() == game.getTipper()->getRequestedNumber();
    }
    // The digger stands still at its idle place.
    static bool DiggerHome(const CountTheMaterialsMode& game)
    {
        SceneNode* digger = game.getDigger()->GetNode();
        return digger->LocalGetLocation() == Constant<Vector2<float>>("DiggerIdlePosition").GetValue() &&
               digger->GetTaskQueue().IsEmpty();
    }

    // A pile takes presses only where its picture is drawn: aim at its bottom row, which every count has.
    static Vector2<int> OnPile(const DraggableMaterial& pile)
    {
        const Rect<float> bounds = pile.getImageNode()->GlobalGetBounds();
        return {static_cast<int>(bounds.x + bounds.width / 2), static_cast<int>(bounds.y + bounds.height - 14)};
    }
    static void ClickPile(SceneApplicationMode& mode, const DraggableMaterial& pile)
    {
        ClickAt(mode, OnPile(pile).x, OnPile(pile).y);
    }

    void LoadLevel(const std::string& body) { MiniGameTest::LoadLevel(GameModeDifficulty_Easy, "", body); }
};

TEST_F(CountTheMaterialsModeTest, AWholeRunAtEachDifficultyEndsWithTheStickerReward)
{
    // Each round clicks the right pile.
    PlayRunsToTheReward<CountTheMaterialsMode>(
        {1, 2, 2},
        [&](CountTheMaterialsMode& game, int, int round)
        {
            ASSERT_TRUE(StepUntil(game, [this] { return Open(); })) << "round " << round;
            DraggableMaterial* right =
                Find(game, [&](const DraggableMaterial& pile) { return IsRequested(game, pile); });
            ASSERT_NE(right, nullptr);
            ClickPile(game, *right);
            ASSERT_TRUE(StepUntil(game, [this] { return Ended(); })) << "round " << round;
        });
}

TEST_F(CountTheMaterialsModeTest, TheDiggerCarriesTheRightPileRoundIntoTheTipper)
{
    LoadLevel(R"(<Request material="LogRed" number="3"/><Material type="LogRed" number="3"/>
                 <Material type="LogRed" number="2"/>)");
    CountTheMaterialsMode game(true, 0);
    Start(game);
    // The tipper drives in and shows its request once it stands; the digger waits at its place.
    MaterialTarget* tipper = game.getTipper();
    ASSERT_NE(tipper, nullptr);
    EXPECT_FALSE(tipper->getRequestBox()->LocalIsVisible());
    ASSERT_TRUE(StepUntil(game, [this] { return Open(); }));
    EXPECT_TRUE(tipper->getRequestBox()->LocalIsVisible());
    EXPECT_EQ(tipper->GetNode()->LocalGetLocation(), Vector2<float>(380, 150));
    ASSERT_TRUE(StepUntil(
        game, [&] { return DiggerHome(game); }));

    DraggableMaterial* right = Find(game, [](const DraggableMaterial& pile) { return pile.getNumber() == 3; });
    SceneNode* load = right->GetNode();
    // Two piles take the first two places; the others stay empty.
    EXPECT_EQ(game.getPile(2), nullptr);
    for (const char* place : {"MaterialSources_2", "MaterialSources_3", "MaterialSources_4"})
        EXPECT_EQ(PlayfieldNode("YSortedLayer", place)->GetChildCount(), 0u) << place;
    ClickPile(game, *right);
    EXPECT_TRUE(Mask()->LocalIsVisible());
    EXPECT_FALSE(tipper->getRequestBox()->LocalIsVisible());
    // From the winning click on, the far tipper waits at its start.
    EXPECT_EQ(tipper->getBackgroundNode()->LocalGetLocation(), Constant<Vector2<float>>("TipperBGStartPos").GetValue());

    // Lifted showing the count picked, turned with the digger, then dropped into the cart still showing it.
    MaterialLoader* digger = game.getDigger();
    const IImage* picked = dynamic_cast<StaticSpriteNode*>(right->getImageNode())->GetImage();
    ASSERT_TRUE(StepUntil(game, [&] { return load->GetParent() == digger->getAttachNode(false); }));
    EXPECT_EQ(dynamic_cast<StaticSpriteNode*>(right->getImageNode())->GetImage(), picked);
    EXPECT_TRUE(Heard("CTM_DiggerNoProb"));
    ASSERT_TRUE(StepUntil(
        game, [&] { return load->GetParent() == digger->getAttachNode(true); }));
    ASSERT_TRUE(StepUntil(game, [&] { return load->GetParent() == tipper->getCartNode(); }));
    EXPECT_EQ(dynamic_cast<StaticSpriteNode*>(right->getImageNode())->GetImage(), picked);
    EXPECT_TRUE(Heard("SFX_BrickDrop"));
    EXPECT_FALSE(Ended());
    // The round ends after the tipper has gone and the far one has hooted.
    ASSERT_TRUE(StepUntil(game, [this] { return Ended(); }));
    EXPECT_TRUE(Heard("CTM_TipperFinished"));
    EXPECT_LT(tipper->GetNode()->LocalGetLocation().x, -100.0f);
    EXPECT_EQ(screens, std::vector<std::string>{"push reward"});
    EXPECT_TRUE(Mask()->LocalIsVisible());
}

TEST_F(CountTheMaterialsModeTest, WrongPilesAreExplainedAndTheLevelStillEnds)
{
    // The kind is judged first, then too few or too many: the two piles of another kind also differ in
    // number, one each way, so judging the number first would give them the wrong reason.
    LoadLevel(R"(<Request material="LogRed" number="3"/><Material type="LogRed" number="3"/>
                 <Material type="LogRed" number="2"/><Material type="LogRed" number="5"/>
                 <Material type="BricksBlue" number="1"/><Material type="ConeRed" number="6"/>)");
    const std::map<std::pair<int, int>, std::string> reasons = {
        {{BuildingMaterial_LogRed, 2}, "CTM_NotEnough"},
        {{BuildingMaterial_LogRed, 5}, "CTM_TooMuch"},
        {{BuildingMaterial_BricksBlue, 1}, "CTM_IncorrectAnswer"},
        {{BuildingMaterial_ConeRed, 6}, "CTM_IncorrectAnswer"}};
    CountTheMaterialsMode game(true, 0);
    Start(game);
    ASSERT_TRUE(StepUntil(
        game, [this] { return Open(); }));
    ASSERT_TRUE(StepUntil(game, [&] { return DiggerHome(game); }));
    size_t wrong = 0;
    for (DraggableMaterial* pile : Piles(game))
    {
        if (IsRequested(game, *pile))
            continue;
        ++wrong;
        const std::string& reason = reasons.at({pile->getMaterial(), pile->getNumber()});
        spoken.clear();
        SceneNode* place = pile->GetNode()->GetParent();
        ClickPile(game, *pile);
        // The digger drives there; the playfield is closed until it is home again.
        ASSERT_TRUE(StepUntil(game, [&] { return Heard(reason); })) << reason;
        EXPECT_FALSE(Open());
        EXPECT_FALSE(DiggerHome(game));
        ASSERT_TRUE(StepUntil(game, [this] { return Open(); }));
        EXPECT_TRUE(DiggerHome(game));
        EXPECT_EQ(pile->GetNode()->GetParent(), place);
        EXPECT_TRUE(Heard("SFX_SelectItem"));
        EXPECT_TRUE(Heard("SFX_DiggerMove"));
        std::erase_if(spoken, [](const std::string& s) { return s.rfind("SFX_", 0) == 0; });
        EXPECT_EQ(spoken, std::vector<std::string>{reason});
    }
    EXPECT_EQ(wrong, reasons.size());
    EXPECT_FALSE(Ended());
    EXPECT_EQ(game.getHintNumber(), 1);

    DraggableMaterial* right = Find(game, [&](const DraggableMaterial& pile) { return IsRequested(game, pile); });
    ASSERT_NE(right, nullptr);
    ClickPile(game, *right);
    // A press after the win is not judged.
    spoken.clear();
    game.MaterialClicked(Find(
        game, [&](const DraggableMaterial& pile) { return &pile != right; }));
    ASSERT_TRUE(StepUntil(game, [this] { return Ended(); }));
    EXPECT_EQ(screens, std::vector<std::string>{"push reward"});
    EXPECT_TRUE(Heard("General_CorrectAnswer"));
    EXPECT_FALSE(Heard("CTM_IncorrectAnswer") || Heard("CTM_NotEnough") || Heard("CTM_TooMuch"));
}

TEST_F(CountTheMaterialsModeTest, TheRequestIsSpokenAndThePilesAndVehiclesAnswerThePointer)
{
    LoadLevel(R"(<Request material="BricksRed" number="3"/>
                 <Material type="BricksRed" number="3"/><Material type="BricksBlue" number="3"/>)");
    watched.insert(watched.end(), {"w3", "wRedBricks"});
    CountTheMaterialsMode game(true, 0);
    Start(game);
    // The playfield opens once the whole request is queued, before it has been heard out.
    ASSERT_TRUE(StepUntil(
        game, [this] { return Open(); }));
    ASSERT_TRUE(StepUntil(
        game, [this] { return Heard("wRedBricks"); }));
    std::erase_if(spoken, [](const std::string& s) { return s.rfind("SFX_", 0) == 0; });
    EXPECT_EQ(spoken, (std::vector<std::string>{"w3", "wRedBricks"}));
    ASSERT_TRUE(StepUntil(game, [&] { return DiggerHome(game); }));

    // A pile glows while the pointer is on it.
    DraggableMaterial* blue =
        Find(game, [](const DraggableMaterial& pile) { return pile.getMaterial() == BuildingMaterial_BricksBlue; });
    spoken.clear();
    game.OnMouseMove(OnPile(*blue).x, OnPile(*blue).y);
    EXPECT_TRUE(blue->getHighlightNode()->LocalIsVisible());
    game.OnMouseMove(5, 595);
    EXPECT_FALSE(blue->getHighlightNode()->LocalIsVisible());
    Step(game);
    EXPECT_TRUE(Heard("SFX_ObjectRollover"));

    // Pressing the tipper while the reason for a wrong pile is spoken cuts the reason short; pressing
    // the digger on its way asks whether we are ready.
    spoken.clear();
    ClickPile(game, *blue);
    ASSERT_TRUE(StepUntil(game, [this] { return Heard("CTM_IncorrectAnswer"); }));
    Click(game, *game.getTipper()->getImageNode());
    Click(game, *game.getDigger()->getTruckImage());
    ASSERT_TRUE(StepUntil(game, [this] { return Heard("wRedBricks"); }));
    EXPECT_TRUE(Heard("VO_Digger_AreWeReady"));
    std::erase_if(spoken, [](const std::string& s) { return s.rfind("SFX_", 0) == 0 || s.rfind("VO_", 0) == 0; });
    EXPECT_EQ(spoken, (std::vector<std::string>{"CTM_IncorrectAnswer", "w3", "wRedBricks"}));
    EXPECT_FALSE(Playing("CTM_IncorrectAnswer"));
}

TEST_F(CountTheMaterialsModeTest, EveryPileLiesWholeOnTheGroundAndAnswersThePointerWhereItsItemsAre)
{
    // Five tall heaps of ten fill every place, so neighbouring canvases overlap: wherever an item is drawn,
    // the pointer must light that pile and no other, or a child's press would fetch the wrong one.
    LoadLevel(R"(<Request material="ConeRed" number="10"/><Material type="ConeRed" number="10"/>
                 <Material type="Plant" number="10"/><Material type="CementGray" number="10"/>
                 <Material type="LogBrown" number="10"/><Material type="BricksBlue" number="10"/>)");
    constexpr int kGroundTop = 336;
    CountTheMaterialsMode game(true, 0);
    Start(game);
    ASSERT_TRUE(StepUntil(
        game, [this] { return Open(); }));
    ASSERT_TRUE(StepUntil(game, [&] { return DiggerHome(game); }));
    const std::vector<DraggableMaterial*> piles = Piles(game);
    ASSERT_EQ(piles.size(), kCountTheMaterialsMaxPiles);
    for (DraggableMaterial* pile : piles)
    {
        const IImage* picture = dynamic_cast<StaticSpriteNode*>(pile->getImageNode())->GetImage();
        ASSERT_NE(picture, nullptr);
        const Rect<float> bounds = pile->getImageNode()->GlobalGetBounds();
        int drawn = 0;
        for (int y = 0; y < picture->GetHeight(); y += 3)
            for (int x = 0; x < picture->GetWidth(); x += 3)
            {
                if (picture->GetPixel(x, y).a < 128)
                    continue;
                ++drawn;
                const int at[] = {static_cast<int>(bounds.x) + x, static_cast<int>(bounds.y) + y};
                ASSERT_TRUE(at[0] >= 0 && at[0] < 800 && at[1] >= kGroundTop && at[1] < 600)
                    << pile->getMaterial() << " at " << at[0] << "," << at[1];
                game.OnMouseMove(at[0], at[1]);
                for (DraggableMaterial* other : piles)
                    ASSERT_EQ(other->getHighlightNode()->LocalIsVisible(), other == pile)
                        << pile->getMaterial() << " at " << at[0] << "," << at[1];
            }
        EXPECT_GT(drawn, 100) << pile->getMaterial();
    }
}

TEST_F(CountTheMaterialsModeTest, PilesTheRequestBoxAndTheHandOverShowWhatTheyHold)
{
    CountTheMaterialsMode game(true, 0);
    context = std::make_unique<MainLoop::AutoContext>();
    MainLoop::WithinContext(&game, *context);
    const AutoResource<ImageList> logs("Materials-Logs-Brown");
    const AutoResource<ImageList> items("CTM_RequestItems");
    ASSERT_NE(logs.Get(), nullptr);
    ASSERT_NE(items.Get(), nullptr);
    for (int number : {1, 2, 3, 10})
    {
        DraggableMaterial pile(BuildingMaterial_LogBrown, number);
        auto* image = dynamic_cast<StaticSpriteNode*>(pile.getImageNode());
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->GetImage(), logs->GetImage(number - 1)) << number;
        EXPECT_FALSE(pile.getHighlightNode()->LocalIsVisible());
    }

    // One item of every material is drawn large enough for a small child to see and count.
    for (int material = 0; material < BuildingMaterial_Count; ++material)
    {
        const AutoResource<ImageList> counts(kBuildingMaterialSpriteTypes[material]);
        ASSERT_NE(counts.Get(), nullptr);
        const IImage* one = counts->GetImage(0);
        int left = one->GetWidth();
        int right = -1;
        int top = one->GetHeight();
        int bottom = -1;
        for (int y = 0; y < one->GetHeight(); ++y)
            for (int x = 0; x < one->GetWidth(); ++x)
                if (one->GetPixel(x, y).a >= 128)
                {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        EXPECT_GE(std::max(right - left, bottom - top) + 1, 36) << kBuildingMaterialSpriteTypes[material];
    }

    // The request box shows one large item and the number in digits, and stays hidden until the tipper stands.
    MaterialTarget tipper(BuildingMaterial_LogBrown, 12);
    SceneNode* box = tipper.getRequestBox();
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->LocalIsVisible());
    EXPECT_EQ(dynamic_cast<StaticSpriteNode*>(box->GetChildByNodeName(Label("imageNode")))->GetImage(),
              items->GetImage(BuildingMaterial_LogBrown));
    EXPECT_EQ(dynamic_cast<TextSpriteNode*>(box->GetChildByNodeName(Label("MaterialCount")))->GetText(), L"12");

    // Turning and handing over move every node of the load, in its order.
    SceneNode from;
    SceneNode to;
    SceneNode* load[3] = {new SceneNode(), new SceneNode(), new SceneNode()};
    for (SceneNode* node : load)
        from.AttachChild(node);
    MoveAllChildren(from, to);
    EXPECT_EQ(from.GetChildCount(), 0u);
    EXPECT_EQ(std::vector<SceneNode*>(to.GetChildren().begin(), to.GetChildren().end()),
              std::vector<SceneNode*>(std::begin(load), std::end(load)));
    for (SceneNode* node : load)
    {
        node->DetachFromParent();
        delete node;
    }
}

TEST_F(CountTheMaterialsModeTest, AMissingLevelLeavesAnEmptyPlayfieldAndOneNotice)
{
    const auto game = StartWithoutLevel<CountTheMaterialsMode>("", "CountTheMaterialsMode", true, -1);
    EXPECT_EQ(game->getPile(0), nullptr);
    EXPECT_EQ(game->getTipper(), nullptr);
    EXPECT_EQ(game->getDigger(), nullptr);
    for (int step = 0; step < 10; ++step)
        Step(*game);
    EXPECT_FALSE(Ended());
}

} // namespace
