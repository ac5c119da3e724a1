#include "game/HereToThere/HereToThereMode.h"

#include "framework/ValueResources.h"
#include "game/DragAndDrop.h"
#include "game/HereToThere/HereToThereCart.h"
#include "game/HereToThere/HereToThereGame.h"
#include "game/HereToThere/HereToThereObject.h"
#include "game/HereToThere/HereToThereTarget.h"
#include "scene/NodePath.h"

#include "../MiniGameTestSupport.h"

#include <filesystem>

using namespace GameTesting;

namespace
{

const char* const kSounds[] = {
    "HereToThere_GameComplete", "HereToThere_IncorrectAnswer", "SFX_HaulerHorn", "SFX_HaulerMoveShort",
    "SFX_HaulerMoveLong",       "SFX_ObjectRollover",          "SFX_SelectItem"};

// A street of three roads with four plots each above the loading row; the pictures are borrowed from
// the counting game, only their sizes matter here. The truck comes home from the right-hand end of the
// loading row.
const char* const kFixture = R"(
  <imagelist name="HereToThere_DeliveryHouses" pattern="CTM_TipperFrames_%1%" first="0" last="2"/>
  <imagelist name="HereToThere_Animal" pattern="CTM_DiggerFrames_%1%" first="0" last="2"/>
  <imagelist name="HereToThere_Rectangle" pattern="CTM_RequestItems_%1%" first="0" last="3"/>
  <imagelist name="HereToThere_Circle" pattern="CTM_RequestItems_%1%" first="4" last="7"/>
  <imagelist name="HereToThere_Triangle" pattern="CTM_RequestItems_%1%" first="0" last="3"/>
  <imagelist name="HereToThere_Star" pattern="CTM_RequestItems_%1%" first="4" last="7"/>
  <vector2i name="DefaultCursorRegPt" x="4" y="3"/>
  <float name="HaulerBackgroundDrivingSpeed" value="600"/>
  <float name="HaulerForegroundDrivingSpeed" value="500"/>
  <vector2f name="HaulerIdleLocation" x="620" y="520"/>
  <vector2f name="LoadingRowEnd_Left" x="950" y="520"/>
  <vector2farray name="RoadEnd_Left"><vector2f x="-150" y="170"/><vector2f x="-150" y="290"/><vector2f x="-150" y="410"/></vector2farray>
  <vector2farray name="RoadEnd_Right"><vector2f x="950" y="170"/><vector2f x="950" y="290"/><vector2f x="950" y="410"/></vector2farray>
  <float name="RoadEndX_Left" value="-200"/>
  <float name="RoadEndX_Right" value="1000"/>
  <scenelayout name="HereToThereModeLayout">
    <scenenode nodeName="GameScreenRoot" width="800" height="600">
      <scenenode nodeName="Playfield" width="800" height="600">
        <scenenode nodeName="YSorted" width="800" height="600">
          <scenenode nodeName="Target_1" x="60" y="60" width="140" height="100"/>
          <scenenode nodeName="Target_2" x="240" y="60" width="140" height="100"/>
          <scenenode nodeName="Target_3" x="420" y="60" width="140" height="100"/>
          <scenenode nodeName="Target_4" x="600" y="60" width="140" height="100"/>
          <scenenode nodeName="Target_5" x="60" y="180" width="140" height="100"/>
          <scenenode nodeName="Target_6" x="240" y="180" width="140" height="100"/>
          <scenenode nodeName="Target_7" x="420" y="180" width="140" height="100"/>
          <scenenode nodeName="Target_8" x="600" y="180" width="140" height="100"/>
          <scenenode nodeName="Target_9" x="60" y="300" width="140" height="100"/>
          <scenenode nodeName="Target_10" x="240" y="300" width="140" height="100"/>
          <scenenode nodeName="Target_11" x="420" y="300" width="140" height="100"/>
          <scenenode nodeName="Target_12" x="600" y="300" width="140" height="100"/>
          <scenenode nodeName="Source_1" x="30" y="460" width="110" height="100"/>
          <scenenode nodeName="Source_2" x="160" y="460" width="110" height="100"/>
          <scenenode nodeName="Source_3" x="290" y="460" width="110" height="100"/>
          <scenenode nodeName="Source_4" x="420" y="460" width="110" height="100"/>
        </scenenode>
        <scenenode nodeName="Material_ClickMask" width="800" height="600"/>
      </scenenode>
    </scenenode>
  </scenelayout>
  <scenelayout name="HereToThereCartLayout">
    <scenenode nodeName="Cart" width="150" height="90">
      <scenenode nodeName="imageNode" width="150" height="90"/>
      <scenenode nodeName="ObjectAttachNode" x="80" y="0"/>
      <scenenode nodeName="ObjectAttachNode_Flip" x="10" y="0"/>
    </scenenode>
  </scenelayout>
  <scenelayout name="HereToThereObjectLayout">
    <scenenode nodeName="Animal" width="110" height="100">
      <staticspritenode nodeName="animal"/>
      <scenenode nodeName="cartImageNode" width="110" height="100">
        <staticspritenode nodeName="rollover"/>
        <staticspritenode nodeName="shapeNode"/>
      </scenenode>
      <scenenode nodeName="clickRect" width="110" height="100"/>
    </scenenode>
  </scenelayout>
  <scenelayout name="HereToThereTargetLayout">
    <scenenode nodeName="House" width="140" height="100">
      <staticspritenode nodeName="imageNode">
        <scenenode nodeName="flag"><staticspritenode nodeName="shapeNode"/></scenenode>
        <scenenode nodeName="cageAttach" x="20" y="0"/>
      </staticspritenode>
    </scenenode>
  </scenelayout>
  <scenelayout name="HereToThereDummyHouse"><scenenode nodeName="Dummy" width="140" height="100"/></scenelayout>
)";

class HereToThereModeTest : public MiniGameTest
{
protected:
    void SetUp() override { SetUpGame(HereToThereDescription(), kSounds, kFixture, L"delivery"); }

    static HereToThereObject* Held() { return HeldItem<HereToThereObject>(); }
    // The first house whose mark the predicate picks.
    static HereToThereTarget* House(const HereToThereMode& game,
                                    const std::function<bool(const HereToThereTarget&)>& pick)
    {
        return First(game.getHouses(), pick);
    }
    static int Dummies()
    {
        int dummies = 0;
        for (int plot = 1; plot <= 12; ++plot)
        {
            const std::string name = "Target_" + std::to_string(plot);
            dummies += PlayfieldNode("YSorted", name.c_str(), "Dummy") != nullptr;
        }
        return dummies;
    }

    // Delivers the animal: a click on it, the truck loads it, a click on its house, the truck drives
    // there, hands it over and comes home.
    void Deliver(HereToThereMode& game, HereToThereObject* animal)
    {
        Click(game, *animal->getClickNode());
        ASSERT_EQ(Held(), animal);
        ASSERT_TRUE(StepUntil(game, [&] { return Open(); }));
        EXPECT_EQ(game.getHintNumber(), 2);
        const HereToThereMark mark = animal->getMark();
        HereToThereTarget* house = House(game, [&](const HereToThereTarget& h) { return h.getMark() == mark; });
        ASSERT_NE(house, nullptr);
        Click(game, *house->getImageNode());
        EXPECT_FALSE(Open());
        const Strata::ObjectID id = animal->GetID();
        ASSERT_TRUE(StepUntil(game, [&] { return Open() || Ended(); }));
        EXPECT_EQ(game.GetObject(id), nullptr);
        EXPECT_EQ(Held(), nullptr);
        EXPECT_EQ(game.getCart()->GetNode()->LocalGetLocation(),
                  Constant<Vector2<float>>("HaulerIdleLocation").GetValue());
    }
};

TEST_F(HereToThereModeTest, EveryDifficultyIsWonThroughWrongMovesToTheStickerReward)
{
    struct Case
    {
        const char* difficulty;
        int houses;
        const char* level;
    };
    const Case cases[] = {
        {"Easy", 2, R"(numBuildings="2" matchColor="true"><Animal type="Star" color="Yellow"/>)"},
        {"Medium", 6,
         R"(numBuildings="6" matchColor="true"><Animal type="Square" color="Blue"/><Animal type="Star" color="Yellow"/>)"},
        {"Hard", 12, R"(numBuildings="12" matchColor="false"><Animal type="Square" color="Blue"/>
            <Animal type="Circle" color="Blue"/><Animal type="Square" color="Green"/><Animal type="Star" color="Purple"/>)"},
    };
    for (int d = 0; d < GameModeDifficulty_Count; ++d)
    {
        const Case& c = cases[d];
        SCOPED_TRACE(c.difficulty);
        LoadLevels(std::string("<HereToThereLevel name=\"Htt") + c.difficulty + "\" difficulty=\"" + c.difficulty +
                   "\" " + c.level + "</HereToThereLevel>");
        GetLevelManager().difficulty = static_cast<GameModeDifficulty>(d);
        auto game = StartNew<HereToThereMode>();
        ASSERT_TRUE(Open());
        const std::vector<HereToThereObject*> animals = game->getAnimals();
        const std::vector<HereToThereTarget*> houses = game->getHouses();
        ASSERT_EQ(static_cast<int>(houses.size()), c.houses);
        EXPECT_EQ(Dummies(), 12 - c.houses);
        // No two houses share a mark unless two animals do, and with matchColor no decoy shows an
        // animal's colour.
        for (size_t i = 0; i < houses.size(); ++i)
        {
            for (size_t j = i + 1; j < houses.size(); ++j)
                EXPECT_FALSE(houses[i]->getMark() == houses[j]->getMark());
            if (game->getMatchColor() && i >= animals.size())
                for (HereToThereObject* animal : animals)
                    EXPECT_NE(houses[i]->getMark().color, animal->getMark().color);
        }

        HereToThereCart* cart = game->getCart();
        const Vector2<float> idle = cart->GetNode()->LocalGetLocation();
        // A house with nothing aboard: nothing moves.
        Click(*game, *houses.back()->getImageNode());
        Step(*game);
        EXPECT_EQ(cart->GetNode()->LocalGetLocation(), idle);
        EXPECT_TRUE(Open());
        if (d == GameModeDifficulty_Hard)
        {
            // Loaded, a click on another animal changes nothing, then a wrong house is said to be wrong
            // and the truck waits there with the animal; the hint is the second one.
            Click(*game, *animals[0]->getClickNode());
            ASSERT_TRUE(StepUntil(*game, [&] { return Open(); }));
            EXPECT_EQ(animals[0]->GetNode()->GetParent(), cart->getAttachNode(false));
            Click(*game, *animals[1]->getClickNode());
            EXPECT_EQ(Held(), animals[0]);
            HereToThereTarget* wrong =
                House(*game, [&](const HereToThereTarget& h) { return h.getMark() == animals[1]->getMark(); });
            Click(*game, *wrong->getImageNode());
            ASSERT_TRUE(StepUntil(*game, [&] { return Heard("HereToThere_IncorrectAnswer"); }));
            EXPECT_TRUE(Open());
            EXPECT_EQ(Held(), animals[0]);
            EXPECT_EQ(game->getHintNumber(), 2);
            EXPECT_EQ(cart->GetNode()->LocalGetLocation(), wrong->getCarPosition());
            EXPECT_TRUE(cart->getAttachNode(cart->isFacingLeft() ? false : true)->GetChildCount() == 1);
            // A house of the animal's shape in another colour is just as wrong: the whole mark must match.
            HereToThereTarget* sameShape =
                House(*game, [&](const HereToThereTarget& h) { return h.getMark() == animals[2]->getMark(); });
            ASSERT_EQ(sameShape->getMark().shape, animals[0]->getMark().shape);
            ASSERT_NE(sameShape->getMark().color, animals[0]->getMark().color);
            spoken.clear();
            Click(*game, *sameShape->getImageNode());
            ASSERT_TRUE(StepUntil(*game, [&] { return Heard("HereToThere_IncorrectAnswer"); }));
            EXPECT_TRUE(Open());
            EXPECT_EQ(Held(), animals[0]);
            EXPECT_EQ(cart->GetNode()->LocalGetLocation(), sameShape->getCarPosition());
            // Put back in the loading order: delivering from the wrong house.
            HereToThereTarget* right =
                House(*game, [&](const HereToThereTarget& h) { return h.getMark() == animals[0]->getMark(); });
            Click(*game, *right->getImageNode());
            ASSERT_TRUE(StepUntil(*game, [&] { return Open() || Ended(); }));
            EXPECT_EQ(game->getHintNumber(), 1);
            EXPECT_TRUE(Heard("General_CorrectAnswer"));
        }
        for (HereToThereObject* animal : game->getAnimals())
        {
            Deliver(*game, animal);
            if (HasFatalFailure())
                return;
        }
        ASSERT_TRUE(StepUntil(*game, [&] { return Ended(); }));
        EXPECT_TRUE(Heard("HereToThere_GameComplete"));
        EXPECT_EQ(screens, std::vector<std::string>{"push reward"});
        game.reset();
        context.reset();
    }
}

TEST_F(HereToThereModeTest, NoLevelOrADamagedOneShowsTheMissingLevelNotice)
{
    for (const char* levels : {"", R"(<HereToThereLevel name="HttBig" difficulty="Easy" numBuildings="13">
                                        <Animal type="Star" color="Yellow"/></HereToThereLevel>)"})
    {
        const auto game = StartWithoutLevel<HereToThereMode>(levels, "HereToThereMode");
        EXPECT_EQ(game->getCart(), nullptr);
        EXPECT_TRUE(game->getHouses().empty());
        context.reset();
    }
}

} // namespace
