#include "game/StreetSigns/StreetSignsMode.h"

#include "game/StreetSigns/StreetSign.h"
#include "game/StreetSigns/StreetSignsContent.h"
#include "game/StreetSigns/StreetSignsGame.h"
#include "graphics/ImageList.h"
#include "scene/NodePath.h"
#include "scene/SpriteNodes.h"
#include "scene/SpriteType.h"

#include "../MiniGameTestSupport.h"

#include <cmath>
#include <filesystem>
#include <set>

using namespace GameTesting;

namespace
{

namespace Names = StreetSignsContent;

const char* const kSounds[] = {"General_IncorrectAnswer", "StreetSigns_TruckFull", "SFX_HoistArm", "SFX_SignLand",
                               "SFX_SignWobble",          "SFX_HaulerHorn"};

// A truck with four bed slots and the row the signs stand in; the pictures are borrowed from the
// counting game, only their sizes matter here.
const char* const kFixture = R"(
  <imagelist name="Pictures" pattern="CTM_RequestItems_%1%" first="0" last="4"/>
  <imagelist name="StreetSigns_AskPictures" pattern="CTM_RequestItems_%1%" first="0" last="9"/>
  <vector2i name="DefaultCursorRegPt" x="4" y="3"/>
  <float name="StreetSigns_SignSpacing" value="150"/>
  <intarray name="RepeatedGameNumLoops"><int value="0"/><int value="1"/><int value="1"/></intarray>
  <spritetype name="StreetSigns_Truck" images="Pictures">
    <animation name="Idle" frameList="0" fps="1" numPlays="0"/><animation name="Drive" frameList="1,2" fps="8" numPlays="0"/>
  </spritetype>
  <scenelayout name="StreetSignsModeLayout">
    <scenenode nodeName="GameScreenRoot" width="800" height="600">
      <scenenode nodeName="Playfield" width="800" height="600">
        <scenenode nodeName="SignRow" x="400" y="100"/>
        <animatedspritenode nodeName="TruckNode" spriteType="StreetSigns_Truck" initialAnimation="Idle" x="200" y="380">
          <scenenode nodeName="Bed_1" x="10" y="-50"/><scenenode nodeName="Bed_2" x="60" y="-50"/>
          <scenenode nodeName="Bed_3" x="110" y="-50"/><scenenode nodeName="Bed_4" x="160" y="-50"/>
        </animatedspritenode>
        <staticspritenode nodeName="AskBubble" x="650" y="360"><staticspritenode nodeName="AskPicture"/></staticspritenode>
        <scenenode nodeName="MouseInput_ClickMask" width="800" height="600"/>
      </scenenode>
    </scenenode>
  </scenelayout>
  <scenelayout name="StreetSignLayout">
    <scenenode nodeName="StreetSign" width="100" height="160">
      <staticspritenode nodeName="glowNode"/>
      <animatedspritenode nodeName="signNode"/>
    </scenenode>
  </scenelayout>
)";

class StreetSignsModeTest : public MiniGameTest
{
protected:
    void SetUp() override
    {
        std::vector<std::string> sounds(std::begin(kSounds), std::end(kSounds));
        for (const sContentName& name : Names::List())
            if (name.kind == ContentKind_Voice && std::string(name.name).rfind(Names::kAskPrefix, 0) == 0)
                sounds.push_back(name.name);
        std::string manifest;
        // One sprite type per shape, one still animation per colour.
        for (const Label& type : kStreetSignSpriteTypes)
        {
            manifest += std::string("<spritetype name=\"") + type.c_str() + "\" images=\"Pictures\">";
            for (int c = 0; c < StreetSignColor_Count; ++c)
                manifest += std::string("<animation name=\"") + kStreetSignColorNames[c] + "\" frameList=\"" +
                            std::to_string(c) + "\" fps=\"1\" numPlays=\"0\"/>";
            manifest += "</spritetype>";
        }
        SetUpGame(StreetSignsDescription(), sounds, manifest + kFixture, L"signs");
    }

    static SceneNode* Slot(int n)
    {
        const std::string name = "Bed_" + std::to_string(n + 1);
        return PlayfieldNode("TruckNode", name.c_str());
    }
    // Whether the driver's bubble shows what the game asks for now (shown only while it asks).
    static bool BubbleShowsAsk(const StreetSignsMode& game)
    {
        const int frame = Names::AskPicture(game.getCurrentAsk());
        const AutoResource<ImageList> pictures(Names::kAskPictures.name);
        auto* shown = PlayfieldNode<StaticSpriteNode>("AskBubble", "AskPicture");
        return PlayfieldNode("AskBubble")->LocalIsVisible() == (frame >= 0) &&
               (frame < 0 || (shown != nullptr && shown->GetImage() == pictures->GetImage(frame)));
    }
    static StreetSign* Answer(const StreetSignsMode& game, bool right)
    {
        return First(
            game.getSigns(), [&](const StreetSign& sign)
            { return !sign.isInTruck() && game.getCurrentAsk().Matches(sign.getSign()) == right; });
    }
};

TEST_F(StreetSignsModeTest, RunsAtEachDifficultyAfterWrongSignsEndWithTheStickerReward)
{
    LoadManifest(
        R"(<StreetSignLevel name="SsEasy" difficulty="Easy" signs="3"><Ask trait="Color"/><Ask trait="Color"/></StreetSignLevel>
        <StreetSignLevel name="SsMedium" difficulty="Medium" signs="4"><Ask trait="Shape"/><Ask trait="Shape"/><Ask trait="Shape"/></StreetSignLevel>
        <StreetSignLevel name="SsHard" difficulty="Hard" signs="5"><Ask trait="Color"/><Ask trait="Shape"/><Ask trait="Color"/><Ask trait="Shape"/></StreetSignLevel>)",
        L"levels");
    const size_t signCounts[] = {3, 4, 5};
    PlayRunsToTheReward<StreetSignsMode>(
        {1, 2, 2},
        [&](StreetSignsMode& game, int d, int round)
        {
            EXPECT_TRUE(Mask()->LocalIsVisible());
            ASSERT_TRUE(StepUntil(game, [this] { return Open(); }));
            // The foreman names the first ask as the truck stops; each sign shows its shape and colour.
            EXPECT_TRUE(Heard(Names::AskVoice(game.getCurrentAsk())));
            EXPECT_TRUE(BubbleShowsAsk(game));
            const std::vector<StreetSign*> signs = game.getSigns();
            ASSERT_EQ(signs.size(), signCounts[d]);
            for (StreetSign* sign : signs)
            {
                auto* image = dynamic_cast<AnimatedSpriteNode*>(sign->getImageNode());
                ASSERT_NE(image, nullptr);
                EXPECT_EQ(image->GetSpriteType(),
                          AutoResource<SpriteType>(kStreetSignSpriteTypes[sign->getSign().shape]).Get());
                EXPECT_EQ(image->GetCurAnimationName(), Label(kStreetSignColorNames[sign->getSign().color]));
            }
            for (int ask = 0; ask < static_cast<int>(game.getRound().asks.size()); ++ask)
            {
                const std::string askVoice = Names::AskVoice(game.getCurrentAsk());
                if (round == 1 && ask < 2)
                {
                    // A wrong sign wobbles and the ask is said again after the feedback; no sign moves.
                    StreetSign* wrong = Answer(game, false);
                    ASSERT_NE(wrong, nullptr);
                    spoken.clear();
                    Click(game, *wrong->getImageNode());
                    EXPECT_TRUE(Open());
                    ASSERT_TRUE(StepUntil(game, [&] { return wrong->getImageNode()->LocalGetLocation().x != 0; }));
                    ASSERT_TRUE(StepUntil(game, [&] { return Heard(askVoice); }));
                    EXPECT_TRUE(Heard("SFX_SignWobble"));
                    EXPECT_LT(std::find(spoken.begin(), spoken.end(), "General_IncorrectAnswer"),
                              std::find(spoken.begin(), spoken.end(), askVoice));
                    ASSERT_TRUE(StepUntil(game, [&] { return wrong->getImageNode()->LocalGetLocation().x == 0; }));
                    EXPECT_EQ(game.getAskIndex(), ask);
                    EXPECT_FALSE(wrong->isInTruck());
                }
                StreetSign* right = Answer(game, true);
                ASSERT_NE(right, nullptr);
                Click(game, *right->getImageNode());
                EXPECT_TRUE(game.isLifting());
                EXPECT_TRUE(Mask()->LocalIsVisible());
                // Another click while the sign flies changes nothing.
                if (StreetSign* other = Answer(game, false))
                {
                    game.streetSignClicked(other);
                    EXPECT_FALSE(other->isInTruck());
                }
                // It flies on the screen in small steps, without a jump when it changes parents.
                Rect<float> was = right->GetNode()->GlobalGetBounds();
                ASSERT_TRUE(StepUntil(game,
                                      [&]
                                      {
                                          const Rect<float> now = right->GetNode()->GlobalGetBounds();
                                          EXPECT_LT(std::abs(now.x - was.x) + std::abs(now.y - was.y), 40.0f);
                                          EXPECT_GE(now.y, 0.0f);
                                          was = now;
                                          return game.getAskIndex() == ask + 1;
                                      }));
                // It lies in the ask's slot of the bed and rides off with the truck.
                EXPECT_EQ(right->GetNode()->GetParent(), Slot(ask));
                EXPECT_EQ(right->GetNode()->LocalGetLocation(), (Vector2<float>(0, 0)));
                EXPECT_TRUE(Heard("General_CorrectAnswer"));
                EXPECT_TRUE(Heard("SFX_SignLand"));
                // The next ask, or none once the truck is loaded.
                EXPECT_TRUE(BubbleShowsAsk(game)) << "after ask " << ask;
                if (ask + 1 < static_cast<int>(game.getRound().asks.size()))
                {
                    ASSERT_TRUE(StepUntil(game, [&] { return Heard(Names::AskVoice(game.getCurrentAsk())); }));
                    EXPECT_TRUE(Open());
                }
            }
            EXPECT_FALSE(Ended());
            ASSERT_TRUE(StepUntil(game, [this] { return Ended(); }));
            EXPECT_TRUE(Heard("StreetSigns_TruckFull"));
            EXPECT_TRUE(Heard("SFX_HaulerHorn"));
        });
}

TEST_F(StreetSignsModeTest, EveryShippedLevelIsFiledPlayableAndStandsOnTheScreen)
{
    // The shipped manifest and pictures over the fixture's.
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(MENAGERIE_DATA_DIR) / "streetsigns"))
        files.AddFile(entry.path().filename().wstring(), ReadDataFile(entry.path()));
    files.AddFile(L"StreetSignsMode.xml",
                  ReadDataFile(std::filesystem::path(MENAGERIE_DATA_DIR) / "StreetSignsMode.xml"));
    manager->Unload(L"signs");
    TakeLog();
    ASSERT_TRUE(manager->Load(L"StreetSignsMode")->IsComplete());
    EXPECT_EQ(TakeLog().find("not filed"), std::string::npos);
    std::set<std::string> shipped;
    for (int d = 0; d < GameModeDifficulty_Count; ++d)
    {
        GetLevelManager().difficulty = static_cast<GameModeDifficulty>(d);
        for (int draw = 0; draw < 100; ++draw)
            shipped.insert(GetLevelManager().getLevelForGameModeType(GameModeType_StreetSigns).c_str());
    }
    ASSERT_EQ(shipped.size(), 9u);
    GetLevelManager().difficulty = GameModeDifficulty_Easy;
    const Rect<float> screen(0, 0, 800, 600);
    const auto inside = [&](const Rect<float>& r)
    { return r.width > 0 && r.x >= 0 && r.y >= 0 && r.x + r.width <= screen.width && r.y + r.height <= screen.height; };
    for (const std::string& name : shipped)
    {
        const Label level(name.c_str());
        GetLevelManager().clearLevels();
        GetLevelManager().addLevelForGameModeType(GameModeType_StreetSigns, level, GameModeDifficulty_Easy);
        StreetSignsMode game(false, 1);
        Start(game);
        // The truck drives in from wholly off the screen.
        const Rect<float> coming = PlayfieldNode("TruckNode")->GlobalGetBounds();
        EXPECT_LE(coming.x + coming.width, 0.0f) << level.c_str();
        ASSERT_TRUE(StepUntil(game, [this] { return Open(); })) << level.c_str();
        const std::vector<StreetSign*> signs = game.getSigns();
        ASSERT_EQ(signs.size(), game.getRound().signs.size()) << level.c_str();
        const Rect<float> truck = PlayfieldNode("TruckNode")->GlobalGetBounds();
        EXPECT_TRUE(inside(truck)) << level.c_str();
        for (size_t i = 0; i < signs.size(); ++i)
        {
            const Rect<float> sign = signs[i]->GetNode()->GlobalGetBounds();
            EXPECT_TRUE(inside(sign)) << level.c_str() << " sign " << i;
            EXPECT_LE(sign.y + sign.height, truck.y) << "a sign stands in the truck's way";
            if (i > 0)
                EXPECT_GE(sign.x, signs[i - 1]->GetNode()->GlobalGetBounds().x + sign.width) << level.c_str();
        }
        // Each ask's slot keeps a sign on the screen and standing on the bed.
        for (int ask = 0; ask < static_cast<int>(game.getRound().asks.size()); ++ask)
        {
            ASSERT_NE(Slot(ask), nullptr) << level.c_str() << " ask " << ask;
            const Rect<float> slot = Slot(ask)->GlobalGetBounds();
            const Rect<float> sign = signs[0]->GetNode()->GlobalGetBounds();
            EXPECT_TRUE(inside(Rect<float>(slot.x, slot.y, sign.width, sign.height))) << level.c_str();
            EXPECT_GT(slot.y + sign.height, truck.y) << level.c_str();
            // Side by side on the truck, none over the one before.
            EXPECT_GE(slot.x, truck.x) << level.c_str();
            EXPECT_LE(slot.x + sign.width, truck.x + truck.width) << level.c_str();
            if (ask > 0)
                EXPECT_GE(slot.x, Slot(ask - 1)->GlobalGetBounds().x + sign.width) << level.c_str() << " ask " << ask;
        }
        context.reset();
    }
    // Rounds: -1 reads the difficulty's count, n plays n - 1 more.
    EXPECT_EQ(StreetSignsMode(true, 3).getRoundsLeft(), 2);
    EXPECT_EQ(StreetSignsMode(true, -1).getRoundsLeft(), 0);
}

} // namespace
