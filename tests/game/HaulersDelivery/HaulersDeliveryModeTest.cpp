#include "game/HaulersDelivery/HaulersDeliveryMode.h"

#include "game/HaulersDelivery/DeliveryCart.h"
#include "game/HaulersDelivery/DeliveryObject.h"
#include "game/HaulersDelivery/HaulersDeliveryGame.h"
#include "scene/NodePath.h"
#include "scene/SpriteNodes.h"

#include "../MiniGameTestSupport.h"

#include <algorithm>
#include <filesystem>

using namespace GameTesting;

namespace
{

const char* const kSounds[] = {"HaulersDelivery_GameComplete", "SFX_HoistArm",     "SFX_Toolbox",       "SFX_BrickDrop",
                               "SFX_HaulerMoveLong",           "SFX_GeneralClick", "SFX_ObjectRollover"};

// A train of six carts above five choices; the cargo pictures are borrowed from the counting game (one
// per material, thirteen), only their sizes and shapes matter here.
const char* const kFixture = R"(
  <imagelist name="HaulerDeliveryItems_Small" pattern="CTM_RequestItems_%1%" first="0" last="12"/>
  <imagelist name="HaulerDeliveryItems_Small_rollover" pattern="CTM_RequestItems_%1%" first="0" last="12"/>
  <imagelist name="HaulerDeliveryItems_Large" pattern="CTM_RequestItems_%1%" first="0" last="12"/>
  <imagelist name="HaulerDeliveryItems_Large_rollover" pattern="CTM_RequestItems_%1%" first="0" last="12"/>
  <vector2i name="DefaultCursorRegPt" x="4" y="3"/>
  <intarray name="RepeatedGameNumLoops"><int value="0"/><int value="1"/><int value="1"/></intarray>
  <scenelayout name="HaulersDeliveryModeLayout">
    <scenenode nodeName="GameScreenRoot" width="800" height="600">
      <scenenode nodeName="Playfield" width="800" height="600">
        <scenenode nodeName="CargoRoot" x="0" y="250">
          <scenenode nodeName="Cart_1" x="20"/><scenenode nodeName="Cart_2" x="150"/>
          <scenenode nodeName="Cart_3" x="280"/><scenenode nodeName="Cart_4" x="410"/>
          <scenenode nodeName="Cart_5" x="540"/><scenenode nodeName="Cart_6" x="670"/>
        </scenenode>
        <scenenode nodeName="Pattern1" x="20" y="450"/><scenenode nodeName="Pattern2" x="180" y="450"/>
        <scenenode nodeName="Pattern3" x="340" y="450"/><scenenode nodeName="Pattern4" x="500" y="450"/>
        <scenenode nodeName="Pattern5" x="660" y="450"/>
        <animatedspritenode nodeName="HoistAnimNode" x="700" y="20" width="80" height="80"/>
        <scenenode nodeName="MouseInput_ClickMask" width="800" height="600"/>
      </scenenode>
    </scenenode>
  </scenelayout>
  <scenelayout name="DeliveryCartLayout">
    <scenenode nodeName="Cart" width="120" height="80">
      <animatedspritenode nodeName="cart" width="120" height="80"/>
      <staticspritenode nodeName="cargoImage"/>
      <staticspritenode nodeName="cargoImage_front"/>
      <staticspritenode nodeName="rolloverNode"/>
      <staticspritenode nodeName="rolloverNode_front"/>
      <scenenode nodeName="cargoTarget" x="10" y="-20"/>
    </scenenode>
  </scenelayout>
  <scenelayout name="DeliveryObjectLayout">
    <scenenode nodeName="Cargo">
      <staticspritenode nodeName="imageNode"><staticspritenode nodeName="rolloverNode"/></staticspritenode>
      <scenenode nodeName="HookAssembly" x="0" y="-300"/>
    </scenenode>
  </scenelayout>
)";

class HaulersDeliveryModeTest : public MiniGameTest
{
protected:
    void SetUp() override
    {
        SetUpGame(HaulersDeliveryDescription(), kSounds, kFixture, L"cargo");
        // The wrong answers are said for longer than the cargo takes to leave, as the shipped ones are.
        AddFile(L"long.wav", MakeWav(AudioLibrary::kOutputRate * 3, 600.0f));
        std::string voices;
        for (const char* voice : {"HaulersDelivery_WrongColor", "HaulersDelivery_WrongType", "HaulersDelivery_Wrong"})
        {
            voices += std::string("<sound name=\"") + voice + "\" src=\"long\"/>";
            watched.push_back(voice);
        }
        LoadManifest(voices, L"cargovoices");
    }

    static DeliveryObject* Choice(const HaulersDeliveryMode& game, HaulersDeliveryType type)
    {
        return First(
            game.getChoices(), [&](const DeliveryObject& cargo) { return cargo.getCargoType() == type; });
    }
};

TEST_F(HaulersDeliveryModeTest, RunsAtEachDifficultyAfterWrongChoicesEndWithTheStickerReward)
{
    LoadLevels(R"(<HaulersDeliveryLevel name="HdEasy" difficulty="Easy"><Pattern order="AB"/></HaulersDeliveryLevel>
        <HaulersDeliveryLevel name="HdMedium" difficulty="Medium"><Pattern order="AAB"/></HaulersDeliveryLevel>
        <HaulersDeliveryLevel name="HdHard" difficulty="Hard"><Pattern order="A B C A B C B"/></HaulersDeliveryLevel>)");
    const std::vector<int32_t> patterns[] = {{0, 1}, {0, 0, 1}, {0, 1, 2, 0, 1, 2, 1}};
    PlayRunsToTheReward<HaulersDeliveryMode>(
        {1, 2, 2},
        [&](HaulersDeliveryMode& game, int d, int round)
        {
            ASSERT_TRUE(StepUntil(game, [this] { return Open(); }));
            // The train shows the pattern, the empty last cart asking for the letter that continues it.
            const std::vector<HaulersDeliveryType>& types = game.getPatternIndexMapping();
            const std::vector<DeliveryCart*> carts = game.getCarts();
            ASSERT_EQ(carts.size(), 6u);
            for (size_t i = 0; i < carts.size(); ++i)
                EXPECT_EQ(carts[i]->getCargoType(), types[static_cast<size_t>(patterns[d][i % patterns[d].size()])]);
            EXPECT_TRUE(carts[0]->isLeadCart());
            EXPECT_TRUE(carts[5]->isCartEmpty());
            // A, B, C and the two decoys are offered, whatever letters the pattern uses.
            ASSERT_EQ(game.getChoices().size(), 5u);
            for (size_t i = 0; i < 5; ++i)
                EXPECT_NE(Choice(game, types[i]), nullptr) << i;
            const HaulersDeliveryType wanted = carts[5]->getCargoType();

            if (round == 1)
            {
                // Every wrong choice in turn: each is lifted away for good, and a second click while
                // one is delivered changes nothing.
                for (int wrong = 0; wrong < 4; ++wrong)
                {
                    DeliveryObject* cargo = nullptr;
                    for (DeliveryObject* c : game.getChoices())
                        if (c->getCargoType() != wanted)
                            cargo = c;
                    ASSERT_NE(cargo, nullptr);
                    const std::string voice = CompareCargo(wanted, cargo->getCargoType()) == CargoMismatch_Color
                                                  ? "HaulersDelivery_WrongColor"
                                              : CompareCargo(wanted, cargo->getCargoType()) == CargoMismatch_Type
                                                  ? "HaulersDelivery_WrongType"
                                                  : "HaulersDelivery_Wrong";
                    Click(game, *cargo->getImageNode());
                    EXPECT_TRUE(Mask()->LocalIsVisible());
                    EXPECT_TRUE(game.isDelivering());
                    // A pick holds nothing: the game's one hint stays the one armed.
                    EXPECT_EQ(game.getHintNumber(), 1);
                    // The choices left wait dimmed; the one on the hook is not.
                    for (DeliveryObject* choice : game.getChoices())
                        EXPECT_EQ(choice->getImageNode()->LocalGetAlpha() < 1.0f, choice != cargo);
                    game.buttonClicked(Choice(game, wanted));
                    // Clicks come back as the feedback ends, not before: the voice said, the cargo gone.
                    int steps = 0, busy = 0;
                    ASSERT_TRUE(StepUntil(game,
                                          [&]
                                          {
                                              ++steps;
                                              const std::vector<DeliveryObject*> left = game.getChoices();
                                              if (Playing(voice.c_str()) ||
                                                  std::find(left.begin(), left.end(), cargo) != left.end())
                                                  busy = steps;
                                              return Open();
                                          }));
                    EXPECT_GT(steps, busy);
                    EXPECT_LE(steps - busy, 2);
                    EXPECT_FALSE(game.isDelivering());
                    for (DeliveryObject* choice : game.getChoices())
                        EXPECT_EQ(choice->getImageNode()->LocalGetAlpha(), 1.0f);
                    EXPECT_EQ(game.getChoices().size(), static_cast<size_t>(4 - wrong));
                    EXPECT_TRUE(Heard(voice)) << voice;
                    EXPECT_TRUE(carts[5]->isCartEmpty());
                }
                EXPECT_FALSE(Ended());
            }
            DeliveryObject* right = Choice(game, wanted);
            ASSERT_NE(right, nullptr);
            Click(game, *right->getImageNode());
            ASSERT_TRUE(StepUntil(game, [&] { return !carts[5]->isCartEmpty(); }));
            // The delivered cargo lies in the cart and leaves with the train.
            EXPECT_EQ(right->GetNode()->GetParent(), carts[5]->getCargoTarget());
            EXPECT_TRUE(Heard("General_CorrectAnswer"));
            EXPECT_TRUE(Heard("SFX_BrickDrop"));
            ASSERT_TRUE(StepUntil(game, [this] { return Ended(); }));
            EXPECT_TRUE(Heard("HaulersDelivery_GameComplete"));
            // The train has left the screen whole, its last cart too.
            const Rect<float> train = PlayfieldNode("CargoRoot")->GetCompositeBounds();
            EXPECT_LE(train.x + train.width, 0.0f);
        });
}

TEST_F(HaulersDeliveryModeTest, NoPlayableLevelShowsTheNoticeAndAnEmptyPlayfield)
{
    // The damaged level is refused when read, so the draw finds nothing.
    const auto game = StartWithoutLevel<HaulersDeliveryMode>(
        R"(<HaulersDeliveryLevel name="HdBroken" difficulty="Easy"><Pattern order=""/></HaulersDeliveryLevel>)",
        "HaulersDeliveryMode", true, -1);
    EXPECT_TRUE(game->getCarts().empty());
    EXPECT_TRUE(game->getChoices().empty());
    // The pop-up still explains the game, the music plays and the empty train drives in from the right.
    EXPECT_EQ(screens, std::vector<std::string>{"push instructions"});
    EXPECT_EQ(GetAudioManager()->getMusicMode(), MusicMode_InGame);
    ASSERT_NE(PlayfieldNode("CargoRoot"), nullptr);
    EXPECT_GT(PlayfieldNode("CargoRoot")->LocalGetLocation().x, 800.0f);
    EXPECT_TRUE(StepUntil(*game, [&] { return PlayfieldNode("CargoRoot")->LocalGetLocation().x == 0.0f && Open(); }));
    EXPECT_EQ(screens, std::vector<std::string>{"push instructions"});
}

} // namespace
