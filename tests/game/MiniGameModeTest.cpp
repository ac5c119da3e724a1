#include "game/MiniGameMode.h"

#include "framework/TimedTask.h"
#include "framework/ValueResources.h"
#include "game/GameLevelReaders.h"
#include "game/PlayfieldObject.h"

#include "MiniGameTestSupport.h"

using namespace GameTesting;

namespace
{

const NodePathStep kFacePath[] = {"Face", NodePathTerminator()};

// A playfield object that reports a press on its face.
struct Piece : PlayfieldObject
{
    Piece() : PlayfieldObject("StandInPiece")
    {
        if (SceneNode* face = LayoutNode(kFacePath))
            face->mouseDownSignal.connect([this](SceneNode*, MouseButton, int, int) { pressedSignal(); });
    }
};

bool gPlayable = true;
const sMiniGameDescription& Description();

// The least level record: nothing beyond the level's name and difficulty.
struct PlainRecord
{
    void ReadChild(const XMLElement&) {}
    std::string Validate() const { return {}; }
};

// The least repeating game: one piece on the sorted layer, and one that finds no place.
class StandInMode final : public MiniGameMode
{
public:
    StandInMode(bool firstRound, int roundsLeft) : MiniGameMode(Description(), firstRound, roundsLeft) {}

    std::vector<Label> built;
    Piece* piece = nullptr;
    int presses = 0;

protected:
    void startLevel() override
    {
        built.push_back(getLevel());
        piece = addPlayfieldObject<Piece>(PlayfieldNode("Sorted"), "Sorted");
        EXPECT_EQ(addPlayfieldObject<Piece>(nullptr, "Nowhere"), nullptr);
        if (piece != nullptr)
            piece->pressedSignal.connect([this] { ++presses; });
    }
};

const sMiniGameDescription& Description()
{
    static const sMiniGameDescription description = []
    {
        sMiniGameDescription d;
        d.type = GameModeType_PaintIt;
        d.modeName = "StandInMode";
        d.label = "PaintIt";
        d.layout = "StandInMiniGame";
        d.inputMask = "Mask";
        d.sortedLayer = "Sorted";
        d.repeating = true;
        d.isPlayable = [](Label) { return gPlayable; };
        d.nextRound = [](int roundsLeft) -> std::unique_ptr<YardcrewGameMode>
        { return std::make_unique<StandInMode>(false, roundsLeft); };
        return d;
    }();
    return description;
}

// A level record of its own, read from the level element's "pieces".
struct StandInRecord
{
    int pieces = 0;

    void ReadAttributes(const IAttributeContainer& attributes) { pieces = attributes.GetAttribute(L"pieces", 0); }
    void ReadChild(const XMLElement&) {}
    std::string Validate() const { return {}; }
};

const sMiniGameDescription& TypedDescription()
{
    static const sMiniGameDescription description = []
    {
        sMiniGameDescription d;
        d.type = GameModeType_PaintIt;
        d.modeName = "TypedStandInMode";
        d.label = "PaintIt";
        d.layout = "StandInMiniGame";
        d.isPlayable = [](Label) { return gPlayable; };
        return d;
    }();
    return description;
}

// A game with a record of its own, told its level from outside.
class TypedStandInMode final : public MiniGameModeOf<StandInRecord>
{
public:
    explicit TypedStandInMode(Label level) : MiniGameModeOf(TypedDescription()), mGiven(level) {}

    std::vector<const StandInRecord*> built;
    const StandInRecord* record() const { return getLevelRecord(); }

protected:
    Label chooseLevel() override { return mGiven; }
    void initializeLevel(const StandInRecord& level) override { built.push_back(&level); }

private:
    Label mGiven;
};

const char* const kContent = R"(
<scenelayout name="StandInMiniGame"><scenenode nodeName="GameScreenRoot" width="800" height="600">
  <scenenode nodeName="Playfield" width="800" height="600">
    <scenenode nodeName="Sorted" width="800" height="600"/>
    <scenenode nodeName="Mask" width="800" height="600" visible="false"/>
  </scenenode>
</scenenode></scenelayout>
<scenelayout name="StandInPiece"><scenenode nodeName="Root">
  <scenenode nodeName="Face" x="100" y="100" width="50" height="50" hitTest="true"/>
</scenenode></scenelayout>
<intarray name="RepeatedGameNumLoops"><int value="0"/><int value="1"/><int value="2"/></intarray>
)";

class MiniGameModeTest : public MiniGameTest
{
protected:
    void SetUp() override
    {
        MiniGameTest::SetUp();
        CreateConstantResourceFactories();
        manager->AddResourceFactory(L"StandInLevel", new GameLevelResourceFactory<PlainRecord>(GameModeType_PaintIt));
        LoadManifest(kContent, L"standin");
        GetLevelManager().difficulty = GameModeDifficulty_Medium;
        gPlayable = true;
    }
};

TEST_F(MiniGameModeTest, TheBaseChecksTheLevelMasksThePlayfieldAndCountsTheRounds)
{
    // No level filed, then one the game cannot play: the notice, and no round is built.
    for (const bool filed : {false, true})
    {
        if (filed)
            LoadManifest("<StandInLevel name=\"Level1\" difficulty=\"Medium\"/>", L"levels");
        gPlayable = !filed;
        StandInMode game(true, -1);
        Start(game);
        EXPECT_NE(TakeLog().find("Difficulty Level Not Found for StandInMode"), std::string::npos) << filed;
        EXPECT_TRUE(game.built.empty());
        EXPECT_TRUE(screens.empty());
        context.reset();
    }

    gPlayable = true;
    auto game = std::make_unique<StandInMode>(true, -1);
    Start(*game);
    EXPECT_EQ(game->built, std::vector<Label>{Label("Level1")});
    EXPECT_EQ(game->getRoundsLeft(), 1);
    EXPECT_EQ(screens, std::vector<std::string>{"push instructions"});
    EXPECT_NE(TakeLog().find("The playfield place \"Nowhere\" is missing"), std::string::npos);

    // The mask swallows the press; once down, the piece tells the game by its signal.
    ASSERT_NE(game->piece, nullptr);
    SceneNode* face = game->piece->LayoutNode(kFacePath);
    game->maskMouseInput(true);
    Click(*game, *face);
    EXPECT_EQ(game->presses, 0);
    game->maskMouseInput(false);
    Click(*game, *face);
    EXPECT_EQ(game->presses, 1);

    // The end of the round waits for its chain, then the next round replaces the game; the last
    // round ends the level, without the pop-up again.
    screens.clear();
    Object* chain = game->GetObject(game->getSequenceObjectID());
    chain->AddTask(std::make_unique<TimedTask>(0.1f));
    game->queueEndOfRound(*chain);
    Step(*game);
    EXPECT_TRUE(screens.empty());
    ASSERT_TRUE(StepUntil(*game, [this] { return !screens.empty(); }));
    EXPECT_EQ(screens, std::vector<std::string>{"unwind next round"});
    game.reset(dynamic_cast<StandInMode*>(nextRound.release()));
    ASSERT_NE(game, nullptr);
    context.reset();
    screens.clear();
    Start(*game);
    EXPECT_FALSE(game->isFirstRound());
    EXPECT_EQ(game->getRoundsLeft(), 0);
    game->queueEndOfRound(*game->GetObject(game->getSequenceObjectID()));
    ASSERT_TRUE(StepUntil(*game, [this] { return !screens.empty(); }));
    EXPECT_EQ(screens, std::vector<std::string>{"push reward"});
}

// Only a record of the game's own type that passes the description's check is built, and the round gets
// the very record filed under the level's name.
TEST_F(MiniGameModeTest, AGameWithItsOwnRecordIsHandedTheRecordItWasCheckedWith)
{
    manager->AddResourceFactory(L"TypedStandInLevel",
                                new GameLevelResourceFactory<StandInRecord>(GameModeType_PaintIt));
    LoadManifest("<StandInLevel name=\"Plain\" difficulty=\"Medium\"/>"
                 "<TypedStandInLevel name=\"Typed\" difficulty=\"Medium\" pieces=\"3\"/>",
                 L"levels");
    const AutoResource<StandInRecord> filed(Label("Typed"));
    ASSERT_NE(filed.Get(), nullptr);
    struct Case
    {
        const char* level;
        bool checkPasses;
        bool built;
    };
    const Case cases[] = {
        {"Typed", true, true},
        {"Typed", false, false}, // the description's check still has the last word
        {"Plain", true, false},  // filed, but not as this game's record
        {"NoSuchLevel", true, false},
    };
    for (const Case& c : cases)
    {
        gPlayable = c.checkPasses;
        TypedStandInMode game{Label(c.level)};
        Start(game);
        const bool noticed = TakeLog().find("Difficulty Level Not Found for TypedStandInMode") != std::string::npos;
        EXPECT_EQ(noticed, !c.built) << c.level;
        ASSERT_EQ(game.built.size(), c.built ? 1u : 0u) << c.level;
        EXPECT_EQ(game.record(), c.built ? filed.Get() : nullptr) << c.level;
        if (c.built)
        {
            EXPECT_EQ(game.built.front(), filed.Get());
            EXPECT_EQ(game.built.front()->pieces, 3);
        }
        context.reset();
    }
}

} // namespace
