#include "game/PileOfLeaves/PileOfLeavesMode.h"

#include "game/PileOfLeaves/Leaf.h"
#include "game/PileOfLeaves/LeafCoveredTool.h"
#include "game/PileOfLeaves/PileOfLeavesGame.h"
#include "game/PileOfLeaves/PileOfLeavesLevel.h"
#include "scene/NodePath.h"

#include "../MiniGameTestSupport.h"
#include "engine/scene/NodeTestSupport.h"

#include <filesystem>
#include <map>
#include <set>

using namespace GameTesting;

namespace
{

const char* const kSounds[] = {"PileOfLeaves_GameComplete", "PileOfLeaves_IncorrectAnswer", "SFX_BlowLeaves",
                               "SFX_ObjectRollover", "SFX_SelectItem"};

// The field and the request box; the pictures are borrowed from the counting game, only their sizes
// matter here. Requests per run: 1, 2 and 3.
const char* const kFixture = R"(
  <intarray name="RepeatedGameNumLoops"><int value="0"/><int value="1"/><int value="2"/></intarray>
  <imagelist name="Leaves" pattern="CTM_RequestItems_%1%" first="0" last="3"/>
  <imagelist name="GeneralTool_Hammer" pattern="CTM_RequestItems_%1%" first="0" last="4"/>
  <imagelist name="GeneralTool_Saw" pattern="CTM_RequestItems_%1%" first="1" last="5"/>
  <imagelist name="GeneralTool_Drill" pattern="CTM_RequestItems_%1%" first="2" last="6"/>
  <imagelist name="GeneralTool_Brush" pattern="CTM_RequestItems_%1%" first="3" last="7"/>
  <imagelist name="GeneralTool_Wrench" pattern="CTM_RequestItems_%1%" first="0" last="4"/>
  <imagelist name="GeneralTool_Screwdriver" pattern="CTM_RequestItems_%1%" first="1" last="5"/>
  <imagelist name="GeneralTool_Level" pattern="CTM_RequestItems_%1%" first="2" last="6"/>
  <imagelist name="GeneralTool_Pliers" pattern="CTM_RequestItems_%1%" first="3" last="7"/>
  <vector2i name="HandCursorRegPt" x="4" y="3"/>
  <float name="PreIntroLeafFlightTime" value="1.5"/>
  <float name="PreFlightLeafDelayMax" value="0.4"/>
  <float name="LeafFlightSpeed" value="900"/>
  <float name="ToolCorrectFlySpeed" value="700"/>
  <scenelayout name="PileOfLeavesModeLayout">
    <scenenode nodeName="GameScreenRoot" width="800" height="600">
      <scenenode nodeName="Playfield" width="800" height="600">
        <scenenode nodeName="ToolLayer" width="800" height="600"/>
        <scenenode nodeName="LeafLayer" width="800" height="600"/>
        <scenenode nodeName="DogAnimationNode" x="20" y="20" width="100" height="100"/>
        <scenenode nodeName="ClickMask" width="800" height="600"/>
      </scenenode>
      <scenenode nodeName="UI_attach" width="800" height="600">
        <scenenode nodeName="HighlightBox" x="340" y="20" width="120" height="120"/>
        <staticspritenode nodeName="ToolToPick" x="350" y="30"/>
      </scenenode>
    </scenenode>
  </scenelayout>
  <scenelayout name="LeafLayout">
    <scenenode nodeName="Leaf"><staticspritenode nodeName="imageNode" x="-20" y="-20"/></scenenode>
  </scenelayout>
  <scenelayout name="LeafCoveredToolLayout">
    <scenenode nodeName="Tool">
      <staticspritenode nodeName="imageNode" x="-30" y="-25"><staticspritenode nodeName="highlightNode"/></staticspritenode>
    </scenenode>
  </scenelayout>
  <scenelayout name="AnimatedLeafLayout"><staticspritenode nodeName="Blown"/></scenelayout>
)";

// The frame's pixels within `radius` of `middle`, drawn on the software canvas.
std::vector<Color32> DrawAround(SceneNode& root, Vector2<int> middle, int radius)
{
    Strata::Testing::Target target(800, 600);
    root.UpdateScene();
    root.DrawScene();
    std::vector<Color32> disc;
    for (int y = std::max(middle.y - radius, 0); y <= std::min(middle.y + radius, 599); ++y)
        for (int x = std::max(middle.x - radius, 0); x <= std::min(middle.x + radius, 799); ++x)
            if ((x - middle.x) * (x - middle.x) + (y - middle.y) * (y - middle.y) <= radius * radius)
                disc.push_back(target.At(x, y));
    return disc;
}

int Differing(const std::vector<Color32>& a, const std::vector<Color32>& b)
{
    int count = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        count += a[i] != b[i] ? 1 : 0;
    return count;
}

class PileOfLeavesModeTest : public MiniGameTest
{
protected:
    void SetUp() override
    {
        MiniGameTest::SetUp();
        UseGame(PileOfLeavesDescription());
        AddStandInPictures();
        watched.assign(std::begin(kSounds), std::end(kSounds));
        watched.push_back("General_CorrectAnswer");
        LoadFixture(kFixture);
    }

    // The request of a tool as the voice says it.
    static std::string Ask(YardcrewColor color, YardcrewTool kind)
    {
        return std::string("Ask_") + kYardcrewColorNames[color] + "_" + kYardcrewToolNames[kind];
    }
    void LoadFixture(const std::string& fixture)
    {
        std::string sounds = SilentSounds(kSounds);
        std::string asks = "<soundlist name=\"General_ColoredToolWords\">";
        for (int color = 0; color < 4; ++color)
            for (int kind = 0; kind < YardcrewTool_Count; ++kind)
            {
                const std::string ask = Ask(static_cast<YardcrewColor>(color), static_cast<YardcrewTool>(kind));
                sounds += "<sound name=\"" + ask + "\" src=\"w\"/>";
                asks += "<sound event=\"" + ask.substr(4) + "\" src=\"" + ask + "\"/>";
                watched.push_back(ask);
            }
        LoadManifest(sounds + asks + "</soundlist>" + fixture, L"leaves");
    }
    static SceneNode* Request()
    {
        const NodePathStep path[] = {"GameScreenRoot", "UI_attach", "ToolToPick", NodePathTerminator()};
        return RootDescendent(path);
    }
    // Every leaf has blown in and lies still.
    static bool Landed(const PileOfLeavesMode& game)
    {
        const std::vector<Leaf*> leaves = game.getLeaves();
        return std::none_of(leaves.begin(), leaves.end(),
                            [](Leaf* leaf) { return leaf->LayoutRoot()->GetTaskQueue().GetTask(0) != nullptr; });
    }
    LeafCoveredTool* Requested(const PileOfLeavesMode& game)
    {
        return First(
            game.getTools(), [&](const LeafCoveredTool& tool)
            { return tool.getKind() == game.getToolToFind() && tool.getColor() == game.getColorToFind(); });
    }
};

TEST_F(PileOfLeavesModeTest, EveryDifficultyIsWonThroughWrongClicksToTheStickerReward)
{
    struct Case
    {
        const char* difficulty;
        int tools;
        int requests;
    };
    // Hard has more tools than six, so at most one Hammer and one Drill. Every level holds more tools
    // than requests, so some stay on the ground.
    const Case cases[] = {{"Easy", 3, 1}, {"Medium", 5, 2}, {"Hard", 7, 3}};
    for (int d = 0; d < GameModeDifficulty_Count; ++d)
    {
        const Case& c = cases[d];
        SCOPED_TRACE(c.difficulty);
        LoadLevel(static_cast<GameModeDifficulty>(d),
                  "numTools=\"" + std::to_string(c.tools) + "\" areaCover=\"30\" toolCover=\"4\" cursorRadius=\"90\"");
        auto game = StartNew<PileOfLeavesMode>();
        // The pile is made and the playfield stays shut through the intro.
        const std::vector<LeafCoveredTool*> tools = game->getTools();
        ASSERT_EQ(static_cast<int>(tools.size()), c.tools) << TakeLog();
        EXPECT_EQ(game->getLeaves().size(), 30u + 4u * tools.size());
        EXPECT_FALSE(Open());
        EXPECT_TRUE(screens.empty());
        ASSERT_TRUE(StepUntil(*game, [&] { return Open(); }));
        EXPECT_EQ(screens, std::vector<std::string>{"push instructions"});
        EXPECT_TRUE(Heard("SFX_BlowLeaves"));

        std::map<int, int> kinds;
        for (size_t i = 0; i < tools.size(); ++i)
        {
            const Rect<float> a = tools[i]->LayoutRoot()->GetCompositeBounds();
            EXPECT_GE(a.x, 1.0f);
            EXPECT_LE(a.x + a.width, 799.0f);
            EXPECT_LE(a.y + a.height, 599.0f);
            ++kinds[tools[i]->getKind()];
            for (size_t j = i + 1; j < tools.size(); ++j)
            {
                const Rect<float> b = tools[j]->LayoutRoot()->GetCompositeBounds();
                const bool apart = std::min(a.x + a.width, b.x + b.width) - std::max(a.x, b.x) <= 1.0f ||
                                   std::min(a.y + a.height, b.y + b.height) - std::max(a.y, b.y) <= 1.0f;
                EXPECT_TRUE(apart) << i << " and " << j;
                EXPECT_FALSE(tools[i]->getKind() == tools[j]->getKind() &&
                             tools[i]->getColor() == tools[j]->getColor());
            }
        }
        for (const auto& [kind, count] : kinds)
        {
            const bool single = kind == YardcrewTool_Hammer || kind == YardcrewTool_Drill;
            const bool pair = kind == YardcrewTool_Wrench || kind == YardcrewTool_Screwdriver;
            EXPECT_LE(count, c.tools <= 6 ? 2 : single ? 1 : pair ? 2 : 4) << kind;
        }
        // Every leaf has blown in by the time the first request is made.
        ASSERT_TRUE(StepUntil(*game, [&] { return Landed(*game); }));
        for (Leaf* leaf : game->getLeaves())
            EXPECT_EQ(leaf->LayoutRoot()->LocalGetLocation(),
                      Vector2<float>(leaf->getRestingPoint().x, leaf->getRestingPoint().y));

        for (int request = 0; request < c.requests; ++request)
        {
            // The tools are asked for in the order they were made.
            EXPECT_EQ(game->getTools().front(), Requested(*game));
            LeafCoveredTool* right = Requested(*game);
            ASSERT_NE(right, nullptr);
            // The voice names the tool with its colour.
            ASSERT_TRUE(StepUntil(*game, [&] { return Heard(Ask(right->getColor(), right->getKind())); }));
            if (request == 0)
            {
                // A wrong tool wobbles and is said to be wrong; the playfield stays open and the hint
                // timer starts again from the first hint.
                LeafCoveredTool* wrong = game->getTools().back();
                ASSERT_NE(wrong, right);
                Click(*game, *wrong->getImageNode());
                ASSERT_TRUE(StepUntil(*game, [&] { return Heard("PileOfLeaves_IncorrectAnswer"); }));
                EXPECT_TRUE(Open());
                EXPECT_EQ(game->getHintNumber(), 1);
                EXPECT_NE(wrong->LayoutRoot()->GetTaskQueue().GetTask(0), nullptr);
            }
            const Strata::ObjectID id = right->GetID();
            const int left = static_cast<int>(game->getTools().size());
            Click(*game, *right->getImageNode());
            EXPECT_FALSE(Open());
            EXPECT_TRUE(right->isFound());
            // A second click on the flying tool counts for nothing.
            Click(*game, *right->getImageNode());
            ASSERT_TRUE(StepUntil(*game, [&] { return game->GetObject(id) == nullptr; }));
            EXPECT_EQ(static_cast<int>(game->getTools().size()), left - 1);
            EXPECT_TRUE(Heard("General_CorrectAnswer"));
            if (request + 1 < c.requests)
                ASSERT_TRUE(StepUntil(*game, [&] { return Open(); }));
        }
        ASSERT_TRUE(StepUntil(*game, [&] { return Ended(); }));
        EXPECT_TRUE(Heard("PileOfLeaves_GameComplete"));
        EXPECT_FALSE(Request()->LocalIsVisible());
        EXPECT_EQ(static_cast<int>(game->getTools().size()), c.tools - c.requests);
        EXPECT_EQ(screens, std::vector<std::string>{"push reward"});
        game->playOutroAnimation();
        game.reset();
        context.reset();
    }
}

TEST_F(PileOfLeavesModeTest, DamagedOrShortLevelsEndCleanly)
{
    // No level, or a damaged one: the notice and an empty field.
    for (const char* levels : {"", R"(<PileOfLeavesLevel name="PolCrowd" difficulty="Easy" numTools="40"/>)"})
    {
        GetAudioManager()->setMusicMode(MusicMode_GeneralUI, Label());
        const auto game = StartWithoutLevel<PileOfLeavesMode>(levels, "PileOfLeavesMode");
        EXPECT_TRUE(game->getTools().empty());
        EXPECT_TRUE(game->getLeaves().empty());
        // No game music and no pop-up over the notice.
        EXPECT_EQ(GetAudioManager()->getMusicMode(), MusicMode_GeneralUI);
        EXPECT_TRUE(screens.empty());
        context.reset();
    }

    // Hard asks for three tools but only one lies there: the game ends after it instead of asking for
    // more. The leaves are as many as asked, even crowded on a field that cannot space them.
    LoadLevel(GameModeDifficulty_Hard, R"(numTools="1" areaCover="300" toolCover="30" cursorRadius="1")");
    GetLevelManager().difficulty = GameModeDifficulty_Hard;
    screens.clear();
    auto game = std::make_unique<PileOfLeavesMode>();
    Start(*game);
    EXPECT_EQ(game->getLeaves().size(), 330u);
    ASSERT_TRUE(StepUntil(*game, [&] { return Open(); }));
    Click(*game, *Requested(*game)->getImageNode());
    ASSERT_TRUE(StepUntil(*game, [&] { return Ended(); }));
    EXPECT_EQ(screens, std::vector<std::string>{"push reward"});
    game.reset();
    context.reset();

    // More tools than the field holds: generation still ends, and leaves out what does not fit.
    PileOfLeavesMode crowded;
    Start(crowded);
    TakeLog();
    crowded.generateTools(kPileOfLeavesMaxTools + 10);
    EXPECT_LE(crowded.getTools().size(), static_cast<size_t>(kPileOfLeavesMaxTools + 1));
    context.reset();
}

TEST_F(PileOfLeavesModeTest, LeavesSlideStraightAwayFromThePointer)
{
    struct Case
    {
        int radius;
        Vector2<int> pointer;
        bool moves;
        Vector2<int> place;
    };
    // A leaf resting at (400, 300).
    const Case cases[] = {
        {100, {400, 300}, true, {500, 300}}, // on the point: a full radius to the right
        {100, {370, 300}, true, {470, 300}}, // 30 to the left: pushed 70 right
        {100, {400, 340}, true, {400, 240}}, // 40 below: pushed 60 up
        {100, {325, 225}, true, {400, 300}}, // in the square, outside the circle: at rest
        {100, {400, 400}, true, {400, 300}}, // on the circle: at rest
        {100, {400, 401}, false, {}},        // outside the square: left where it was
        {0, {400, 300}, false, {}},          // no radius: never moves
    };
    for (const Case& c : cases)
    {
        Leaf leaf(400, 300, c.radius);
        Vector2<int> place;
        EXPECT_EQ(leaf.placeFor(c.pointer, place), c.moves) << c.radius << " " << c.pointer.x << "," << c.pointer.y;
        if (c.moves)
            EXPECT_EQ(place, c.place) << c.radius << " " << c.pointer.x << "," << c.pointer.y;
    }
}

} // namespace

TEST_F(PileOfLeavesModeTest, AFlightOfNoLengthOrNoSpeedLandsAtOnceAndTheGameGoesOn)
{
    struct Case
    {
        const char* what;
        const char* speed;
        bool onTheBox; // the tool lies where the request box is, give or take
        float off;
    };
    // A sliver of a pixel once made the spin repeat its quarter turn millions of times in one update.
    const Case cases[] = {{"no length", "700", true, 0.0f},
                          {"a sliver of length", "700", true, 0.00002f},
                          {"no speed", "0", false, 0.0f}};
    // Two requests at Medium.
    LoadLevel(GameModeDifficulty_Medium, R"(numTools="3" areaCover="0" toolCover="0")");
    GetLevelManager().difficulty = GameModeDifficulty_Medium;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        manager->Unload(L"leaves");
        std::string fixture = kFixture;
        fixture.replace(fixture.find("value=\"700\""), 11, std::string("value=\"") + c.speed + "\"");
        LoadFixture(fixture);
        screens.clear();
        auto game = std::make_unique<PileOfLeavesMode>();
        Start(*game);
        for (int request = 0; request < 2; ++request)
        {
            ASSERT_TRUE(StepUntil(*game, [&] { return Open() && Requested(*game) != nullptr; }));
            LeafCoveredTool* right = Requested(*game);
            const Strata::ObjectID id = right->GetID();
            if (c.onTheBox)
                right->LayoutRoot()->LocalSetLocation(Request()->LocalGetLocation() + Vector2<float>(c.off, 0.0f));
            Click(*game, *right->getImageNode());
            EXPECT_TRUE(right->isFound());
            ASSERT_TRUE(StepUntil(*game, [&] { return game->GetObject(id) == nullptr; }));
        }
        ASSERT_TRUE(StepUntil(*game, [&] { return Ended(); }));
        EXPECT_EQ(screens, std::vector<std::string>{"push reward"});
        game.reset();
        context.reset();
    }
}

TEST_F(PileOfLeavesModeTest, EveryShippedLevelIsFiledPlayableAndLaidOutOnTheScreen)
{
    // The shipped manifest and pictures in place of the fixture, with the shared constants it reads.
    manager->Unload(L"leaves");
    const std::filesystem::path data(MENAGERIE_DATA_DIR);
    for (const auto& entry : std::filesystem::directory_iterator(data / "leaves"))
        files.AddFile(entry.path().filename().wstring(), ReadDataFile(entry.path()));
    for (const wchar_t* manifest : {L"GlobalConstants", L"PileOfLeavesMode"})
        files.AddFile(std::wstring(manifest) + L".xml", ReadDataFile(data / (std::wstring(manifest) + L".xml")));
    std::string sounds;
    for (const char* sound : kSounds)
        sounds += std::string("<sound name=\"") + sound + "\" src=\"w\"/>";
    LoadManifest(sounds, L"leafsounds");
    GetLevelManager().clearLevels();
    ASSERT_TRUE(manager->Load(L"GlobalConstants")->IsComplete());
    ASSERT_TRUE(manager->Load(L"PileOfLeavesMode")->IsComplete());
    EXPECT_EQ(TakeLog().find("not filed"), std::string::npos);

    std::set<std::string> drawn[GameModeDifficulty_Count];
    for (int d = 0; d < GameModeDifficulty_Count; ++d)
    {
        GetLevelManager().difficulty = static_cast<GameModeDifficulty>(d);
        for (int i = 0; i < 200; ++i)
            if (const Label name = GetLevelManager().getLevelForGameModeType(GameModeType_PileOfLeaves))
                drawn[d].insert(name.c_str());
        EXPECT_GE(drawn[d].size(), 3u) << "difficulty " << d;
    }
    for (int d = 0; d < GameModeDifficulty_Count; ++d)
    {
        GetLevelManager().difficulty = static_cast<GameModeDifficulty>(d);
        for (const std::string& name : drawn[d])
        {
            SCOPED_TRACE(name);
            const Strata::AutoResource<PileOfLeavesLevel> level(Label(name.c_str()));
            ASSERT_NE(level.Get(), nullptr);
            EXPECT_EQ(level->Validate(), "");
            GetLevelManager().clearLevels();
            GetLevelManager().addLevelForGameModeType(GameModeType_PileOfLeaves, Label(name.c_str()),
                                                      static_cast<GameModeDifficulty>(d));
            // The pointer rests at the field's left edge from the start and only ever glides from there: a
            // leaf it jumps away from stays where it was pushed.
            Vector2<int> pointer(0, 420);
            MainLoop::MoveMouseForTesting(pointer);
            PileOfLeavesMode game;
            Start(game);
            // Every request finds a tool.
            EXPECT_GT(level->numTools, game.getRequestsLeft());
            const std::string log = TakeLog();
            EXPECT_EQ(log.find("left out"), std::string::npos) << log;
            ASSERT_EQ(static_cast<int>(game.getTools().size()), level->numTools);
            EXPECT_EQ(static_cast<int>(game.getLeaves().size()), level->areaCover + level->toolCover * level->numTools);
            // Every leaf shows a picture.
            for (Leaf* leaf : game.getLeaves())
                ASSERT_GT(leaf->LayoutRoot()->GetCompositeBounds().width, 30.0f);
            for (LeafCoveredTool* tool : game.getTools())
            {
                const Rect<float> at = tool->LayoutRoot()->GetCompositeBounds();
                EXPECT_GT(at.width, 60.0f);
                EXPECT_GE(at.y, 250.0f);
                EXPECT_LE(at.x + at.width, 800.0f);
                EXPECT_LE(at.y + at.height, 600.0f);
            }
            // A sweep uncovers: the pointer glides from tool to tool, and round it each time the frame shows
            // what it shows with no leaves at all, the tool among it.
            SceneNode* leafLayer = PlayfieldNode("LeafLayer");
            ASSERT_NE(leafLayer, nullptr);
            ASSERT_TRUE(StepUntil(game, [&] { return Open() && Landed(game); }));
            for (LeafCoveredTool* tool : game.getTools())
            {
                const Rect<float> at = tool->getImageNode()->GlobalGetBounds();
                const Vector2<int> middle(static_cast<int>(at.x + at.width / 2),
                                          static_cast<int>(at.y + at.height / 2));
                const Vector2<int> from = pointer;
                const int moves = std::max(std::abs(middle.x - from.x), std::abs(middle.y - from.y)) / 10 + 1;
                for (int move = 1; move <= moves; ++move)
                {
                    pointer = Vector2<int>(from.x + (middle.x - from.x) * move / moves,
                                           from.y + (middle.y - from.y) * move / moves);
                    MainLoop::MoveMouseForTesting(pointer);
                    Step(game);
                }
                constexpr int kUnderPointer = 40;
                const std::vector<Color32> swept = DrawAround(*game.GetRootNode(), middle, kUnderPointer);
                leafLayer->LocalSetVisible(false);
                const std::vector<Color32> bare = DrawAround(*game.GetRootNode(), middle, kUnderPointer);
                tool->LayoutRoot()->LocalSetVisible(false);
                const std::vector<Color32> ground = DrawAround(*game.GetRootNode(), middle, kUnderPointer);
                tool->LayoutRoot()->LocalSetVisible(true);
                leafLayer->LocalSetVisible(true);
                EXPECT_EQ(Differing(swept, bare), 0) << "leaves over the tool at " << middle.x << "," << middle.y;
                EXPECT_GT(Differing(bare, ground) * 5, static_cast<int>(bare.size())) << "too little of the tool";
            }
            // The dog and the request box stand on the screen, clear of the field.
            for (const char* node : {"DogAnimationNode", "HighlightBox"})
            {
                const bool ui = std::string(node) == "HighlightBox";
                const NodePathStep path[] = {"GameScreenRoot", ui ? "UI_attach" : "Playfield", node,
                                             NodePathTerminator()};
                ASSERT_NE(RootDescendent(path), nullptr) << node;
                const Rect<float> at = RootDescendent(path)->GlobalGetBounds();
                EXPECT_GT(at.width, 50.0f) << node;
                EXPECT_GE(at.x, 0.0f) << node;
                EXPECT_LE(at.y + at.height, 250.0f) << node;
            }
            context.reset();
        }
    }
}
