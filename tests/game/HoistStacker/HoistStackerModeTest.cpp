#include "game/HoistStacker/HoistStackerMode.h"

#include "game/DragAndDrop.h"
#include "game/HoistStacker/HoistStackerGame.h"
#include "game/HoistStacker/HoistStackerLevel.h"
#include "game/HoistStacker/StackableObject.h"
#include "game/HoistStacker/StackingTarget.h"
#include "scene/NodePath.h"
#include "scene/SpriteNodes.h"

#include "../MiniGameTestSupport.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

using namespace GameTesting;

namespace
{

const char* const kSounds[] = {"VO_Hoist_IThinkSo",       "VO_HoistTada",          "SFX_ObjectRollover",
                               "SFX_ObjectStick",         "SFX_DropGirder",        "SFX_GirderFall",
                               "General_IncorrectAnswer", "HoistStacker_SameColor"};

// What the game asks of the shared content, in both fixtures.
const char* const kShared = R"(
  <image name="cursor_default" src="cursor_default"/>
  <vector2i name="DefaultCursorRegPt" x="4" y="3"/>
  <intarray name="RepeatedGameNumLoops"><int value="0"/><int value="1"/><int value="0"/></intarray>
)";

// Small opaque pictures (the cursors), so the objects' alpha hit test finds them at their centres.
const char* const kFixture = R"(
  <image name="Platform_Red" src="cursor_hand"/>
  <image name="Platform_Blue" src="cursor_hand"/>
  <spritetype name="HoistFixture" images="Pictures">
    <animation name="Idle" frameList="0" fps="10"/>
    <animation name="Sad" frameList="0-3" fps="10"/><animation name="Happy" frameList="0-4" fps="10"/>
  </spritetype>
  <scenelayout name="HoistStackerModeLayout">
    <scenenode nodeName="GameScreenRoot" width="800" height="600">
      <scenenode nodeName="Playfield" width="800" height="600">
        <scenenode nodeName="DropItem_Mask" width="800" height="600"/>
        <animatedspritenode nodeName="HoistAnimNode" x="380" y="40" spriteType="HoistFixture" initialAnimation="Idle"/>
        <scenenode nodeName="MaterialTargets">
          <scenenode nodeName="Target_Left" x="100" y="100"/><scenenode nodeName="Target_Right" x="550" y="100"/>
        </scenenode>
        <scenenode nodeName="MaterialSources">
          <scenenode nodeName="Source_1" x="20" y="500"/><scenenode nodeName="Source_2" x="100" y="500"/>
          <scenenode nodeName="Source_3" x="180" y="500"/><scenenode nodeName="Source_4" x="260" y="500"/>
          <scenenode nodeName="Source_5" x="340" y="500"/><scenenode nodeName="Source_6" x="420" y="500"/>
          <scenenode nodeName="Source_7" x="500" y="500"/><scenenode nodeName="Source_8" x="580" y="500"/>
          <scenenode nodeName="Source_9" x="660" y="500"/><scenenode nodeName="Source_10" x="740" y="500"/>
        </scenenode>
      </scenenode>
      <scenenode nodeName="FX_Layer" width="800" height="600"/>
    </scenenode>
  </scenelayout>
  <scenelayout name="StackableObjectLayout">
    <scenenode nodeName="Stackable"><staticspritenode nodeName="imageNode"><staticspritenode nodeName="rollover"/>
    </staticspritenode></scenenode>
  </scenelayout>
  <scenelayout name="StackTargetLayout">
    <scenenode nodeName="Platform_Root">
      <staticspritenode nodeName="Platform" y="250">
        <scenenode nodeName="StackPoint_1" y="-40"/><scenenode nodeName="StackPoint_2" y="-80"/>
        <scenenode nodeName="StackPoint_3" y="-120"/><scenenode nodeName="StackPoint_4" y="-160"/>
        <scenenode nodeName="StackPoint_5" y="-200"/>
      </staticspritenode>
      <scenenode nodeName="clickNode" width="150" height="300"/>
    </scenenode>
  </scenelayout>
)";

class HoistStackerModeTest : public MiniGameTest
{
protected:
    void SetUp() override
    {
        SetUpShared();
        std::string lists, frames;
        for (int frame = 0; frame < kHoistStackerMaxSize; ++frame)
            frames += "<image src=\"cursor_default\"/>";
        for (const char* list :
             {"Pictures", "RedGirders", "BlueGirders", "RedLogs", "BlueLogs", "GirderRollover", "LogRollover"})
            lists += std::string("<imagelist name=\"") + list + "\">" + frames + "</imagelist>";
        LoadManifest(lists + kFixture, L"stacking");
    }

    // The factories, the cursors, the sounds and constants the game asks for.
    void SetUpShared() { SetUpGame(HoistStackerDescription(), kSounds, kShared, L"shared"); }

    static StackableObject* Held() { return HeldItem<StackableObject>(); }
    static bool Settled(const HoistStackerMode& game)
    {
        const auto objects = game.getObjects();
        return std::none_of(objects.begin(), objects.end(),
                            [](const StackableObject* o) { return o->getPlace() == StackableObject::Place::Falling; });
    }
    static bool OnGround(const HoistStackerMode& game)
    {
        const auto objects = game.getObjects();
        return std::all_of(objects.begin(), objects.end(),
                           [](const StackableObject* o) { return o->getPlace() == StackableObject::Place::Ground; });
    }
    static StackingTarget* PlatformOf(const HoistStackerMode& game, StackObjectColor color)
    {
        return First(
            game.getPlatforms(), [&](const StackingTarget& platform) { return platform.getColor() == color; });
    }
    // Carries the object to the platform of `color` (its own unless told otherwise).
    void Carry(HoistStackerMode& game, StackableObject& object, StackingTarget& platform)
    {
        Click(game, *object.getImageNode());
        ASSERT_EQ(Held(), &object);
        EXPECT_EQ(game.getHintNumber(), 2);
        Click(game, *platform.getClickNode());
    }
    // The objects of a colour off the platforms, largest first.
    static std::vector<StackableObject*> Loose(const HoistStackerMode& game, StackObjectColor color)
    {
        std::vector<StackableObject*> loose;
        for (StackableObject* object : game.getObjects())
            if (object->getData().color == color && object->getPlace() == StackableObject::Place::Ground)
                loose.push_back(object);
        std::sort(loose.begin(), loose.end(),
                  [](const StackableObject* a, const StackableObject* b)
                  { return a->getData().size > b->getData().size; });
        return loose;
    }
    // Stacks every loose object on its platform, largest first, and waits for the round's end.
    void PlayRight(HoistStackerMode& game)
    {
        ASSERT_TRUE(StepUntil(game, [&] { return Settled(game); }));
        for (StackingTarget* platform : game.getPlatforms())
            for (StackableObject* object : Loose(game, platform->getColor()))
            {
                Carry(game, *object, *platform);
                ASSERT_EQ(object->getPlace(), StackableObject::Place::Stack);
                EXPECT_TRUE(object->isCorrectlyPlaced());
                EXPECT_EQ(game.getHintNumber(), 1);
            }
        ASSERT_TRUE(StepUntil(game, [&] { return Ended(); }));
        EXPECT_TRUE(Heard("VO_HoistTada"));
        EXPECT_TRUE(Heard("General_CorrectAnswer"));
    }
};

std::string Objects(std::initializer_list<int> red, std::initializer_list<int> blue, const char* type)
{
    std::string text;
    for (int size : red)
        text += "<StackObject size=\"" + std::to_string(size) + "\" color=\"Red\" type=\"" + type + "\"/>";
    for (int size : blue)
        text += "<StackObject size=\"" + std::to_string(size) + "\" color=\"Blue\" type=\"" + type + "\"/>";
    return text;
}

TEST_F(HoistStackerModeTest, EveryDifficultyIsWonThroughWrongMovesToTheStickerReward)
{
    const std::string levels[] = {Objects({}, {2, 3, 1}, "Log"), Objects({1, 3, 2}, {2, 1}, "Girder"),
                                  Objects({4, 1, 5, 2, 3}, {5, 3, 1, 2, 4}, "Log")};
    for (int d = 0; d < GameModeDifficulty_Count; ++d)
    {
        SCOPED_TRACE(d);
        LoadLevel(static_cast<GameModeDifficulty>(d), "", levels[d]);
        auto game = StartNew<HoistStackerMode>();
        // The stacks stand, then fall, and Hoist is sad.
        const std::vector<StackingTarget*> platforms = game->getPlatforms();
        ASSERT_EQ(platforms.size(), d == 0 ? 1u : 2u);
        EXPECT_EQ(platforms[0]->getColor(), d == 0 ? StackObjectColor_Blue : StackObjectColor_Red);
        const auto objects = game->getObjects();
        EXPECT_EQ(platforms[0]->getStack().size(),
                  static_cast<size_t>(std::count_if(objects.begin(), objects.end(),
                                                    [&](const StackableObject* o)
                                                    { return o->getData().color == platforms[0]->getColor(); })));
        bool sad = false;
        ASSERT_TRUE(StepUntil(*game,
                              [&]
                              {
                                  sad = sad || game->getHoist()->GetCurAnimationName() == Label("Sad");
                                  return sad && Settled(*game) && Heard("SFX_GirderFall");
                              }));
        for (StackingTarget* platform : platforms)
            EXPECT_TRUE(platform->getStack().empty());
        EXPECT_EQ(Heard("HoistStacker_SameColor"), d > 0);
        // The intro's right places are not kept on the ground.
        for (const StackableObject* object : objects)
            EXPECT_FALSE(object->isCorrectlyPlaced());
        Click(*game, *game->getHoist());
        EXPECT_TRUE(StepUntil(*game, [&] { return Heard("VO_Hoist_IThinkSo"); }));

        if (d > 0)
        {
            StackingTarget& red = *PlatformOf(*game, StackObjectColor_Red);
            StackingTarget& blue = *PlatformOf(*game, StackObjectColor_Blue);
            // The matching platform is said where both colours are played.
            EXPECT_TRUE(Heard("HoistStacker_SameColor"));
            spoken.clear();
            // Another colour's platform turns the object away: it wobbles home and the game says so.
            StackableObject* small = Loose(*game, StackObjectColor_Red).back();
            Carry(*game, *small, blue);
            EXPECT_EQ(Held(), nullptr);
            EXPECT_TRUE(blue.getStack().empty());
            EXPECT_EQ(small->getPlace(), StackableObject::Place::Falling);
            EXPECT_EQ(game->getHintNumber(), 1);
            ASSERT_TRUE(StepUntil(*game, [&] { return small->getPlace() == StackableObject::Place::Ground; }));
            EXPECT_EQ(small->GetNode()->LocalGetLocation(), Vector2<float>());
            // The wrong answer, then the colour; the effects of the carry and the landing aside.
            std::erase_if(spoken, [](const std::string& sound) { return sound.starts_with("SFX_"); });
            EXPECT_EQ(spoken, (std::vector<std::string>{"General_IncorrectAnswer", "HoistStacker_SameColor"}));
            // Picked up again, it still goes where it belongs.
            Click(*game, *small->getImageNode());
            EXPECT_EQ(Held(), small);
            Click(*game, *PlayfieldNode("DropItem_Mask"));
            EXPECT_EQ(Held(), nullptr);
            EXPECT_EQ(small->getPlace(), StackableObject::Place::Ground);
            // Blue right, red smallest first: judged once all are up, red falls whole, blue stays.
            for (StackableObject* object : Loose(*game, StackObjectColor_Blue))
                Carry(*game, *object, blue);
            std::vector<StackableObject*> reds = Loose(*game, StackObjectColor_Red);
            std::reverse(reds.begin(), reds.end());
            for (StackableObject* object : reds)
                Carry(*game, *object, red);
            EXPECT_FALSE(reds.front()->isCorrectlyPlaced());
            EXPECT_TRUE(red.getStack().empty());
            EXPECT_TRUE(Loose(*game, StackObjectColor_Blue).empty());
            const size_t blues = blue.getStack().size();
            EXPECT_EQ(game->getHoist()->GetCurAnimationName(), Label("Sad"));
            // While red falls, taking blue's top off and back judges nothing.
            StackableObject* top = blue.getStack().back();
            Click(*game, *blue.getClickNode());
            EXPECT_EQ(Held(), top);
            EXPECT_EQ(top->getPlace(), StackableObject::Place::Ground);
            Click(*game, *blue.getClickNode());
            EXPECT_EQ(top->getPlace(), StackableObject::Place::Stack);
            EXPECT_EQ(blue.getStack().size(), blues);
            EXPECT_FALSE(Settled(*game));
            ASSERT_TRUE(StepUntil(*game, [&] { return Settled(*game); }));
            EXPECT_FALSE(Heard("VO_HoistTada"));
            for (StackableObject* object : reds)
                EXPECT_EQ(object->getPlace(), StackableObject::Place::Ground);
        }
        PlayRight(*game);
        if (HasFatalFailure())
            return;
        // Medium plays a second round, a fresh mode with a fresh fall, before the reward.
        if (d == GameModeDifficulty_Medium)
        {
            ASSERT_EQ(screens, std::vector<std::string>{"unwind next round"});
            screens.clear();
            game.reset(dynamic_cast<HoistStackerMode*>(nextRound.release()));
            ASSERT_NE(game, nullptr);
            context.reset();
            Start(*game);
            EXPECT_FALSE(game->isFirstRound());
            EXPECT_EQ(game->getObjects().size(), objects.size());
            // Until the intro's stacks have fallen nothing lies loose to be carried.
            ASSERT_TRUE(StepUntil(*game, [&] { return OnGround(*game); }));
            PlayRight(*game);
            if (HasFatalFailure())
                return;
        }
        EXPECT_EQ(screens, std::vector<std::string>{"push reward"});
        game.reset();
        context.reset();
    }
}

TEST_F(HoistStackerModeTest, TheExampleStandsThenEveryPlatformIsJudgedWhereTheLayoutPutsIt)
{
    // Blue listed first: the platforms still stand red left, blue right.
    LoadLevels(R"(<HoistStackerLevel name="HsBoth" difficulty="Easy">)" + Objects({}, {1, 3, 2}, "Log") +
               Objects({3, 1, 2}, {}, "Girder") + "</HoistStackerLevel>");
    GetLevelManager().difficulty = GameModeDifficulty_Easy;
    HoistStackerMode game(false, 0);
    Start(game);
    StackingTarget* red = PlatformOf(game, StackObjectColor_Red);
    StackingTarget* blue = PlatformOf(game, StackObjectColor_Blue);
    ASSERT_TRUE(red != nullptr && blue != nullptr);
    for (const auto& [platform, place] : {std::pair(red, "Target_Left"), std::pair(blue, "Target_Right")})
        EXPECT_EQ(platform->LayoutRoot()->GetParent(), PlayfieldNode("MaterialTargets", place)) << place;
    EXPECT_EQ(game.getPlatforms(), (std::vector<StackingTarget*>{red, blue}));

    // The example stands for three seconds from the first update, and cannot be taken apart meanwhile.
    int steps = 0;
    ASSERT_TRUE(StepUntil(game,
                          [&]
                          {
                              if (steps == 50)
                              {
                                  Click(game, *red->getClickNode());
                                  EXPECT_EQ(Held(), nullptr);
                                  EXPECT_TRUE(Heard("HoistStacker_SameColor"));
                              }
                              ++steps;
                              return red->getStack().empty() && blue->getStack().empty();
                          }));
    EXPECT_GE(steps * kStepSeconds, 2.9f);
    ASSERT_TRUE(StepUntil(game, [&] { return OnGround(game); }));

    // Both stacks wrong above their largest: both keep it and lose the rest.
    spoken.clear();
    for (StackingTarget* platform : {red, blue})
    {
        std::vector<StackableObject*> loose = Loose(game, platform->getColor());
        std::swap(loose[1], loose[2]);
        for (StackableObject* object : loose)
            Carry(game, *object, *platform);
    }
    for (StackingTarget* platform : {red, blue})
    {
        ASSERT_EQ(platform->getStack().size(), 1u) << platform->getColor();
        EXPECT_EQ(platform->getStack()[0]->getData().size, 3);
        EXPECT_EQ(Loose(game, platform->getColor()).size(), 0u);
    }
    EXPECT_EQ(game.getHoist()->GetCurAnimationName(), Label("Sad"));
    ASSERT_TRUE(StepUntil(game, [&] { return Settled(game); }));
    EXPECT_TRUE(Heard("General_IncorrectAnswer"));
    for (StackingTarget* platform : {red, blue})
        EXPECT_EQ(Loose(game, platform->getColor()).size(), 2u) << platform->getColor();
    PlayRight(game);
}

TEST_F(HoistStackerModeTest, NoLevelOrADamagedOneShowsTheMissingLevelNotice)
{
    for (const char* levels : {"", R"(<HoistStackerLevel name="HsTwins" difficulty="Easy">
                                        <StackObject size="2" color="Red" type="Log"/>
                                        <StackObject size="2" color="Red" type="Girder"/></HoistStackerLevel>)"})
    {
        const auto game = StartWithoutLevel<HoistStackerMode>(levels, "HoistStackerMode");
        EXPECT_TRUE(game->getObjects().empty());
        EXPECT_TRUE(game->getPlatforms().empty());
        context.reset();
    }
}

// The shipped layouts, pictures and levels.
class HoistStackerDataTest : public HoistStackerModeTest
{
protected:
    void SetUp() override
    {
        SetUpShared();
        const std::filesystem::path data(MENAGERIE_DATA_DIR);
        for (const auto& entry : std::filesystem::directory_iterator(data / "stacking"))
            files.AddFile(entry.path().filename().wstring(), ReadDataFile(entry.path()));
        // Hoist is the cargo game's crane.
        for (int frame = 0; frame < 3; ++frame)
        {
            const std::string name = "HD_HoistFrames_" + std::to_string(frame) + ".png";
            files.AddFile(std::filesystem::path(name).wstring(), ReadDataFile(data / "haulers" / name));
        }
        files.AddFile(L"HoistStackerMode.xml", ReadDataFile(data / "HoistStackerMode.xml"));
        GetLevelManager().clearLevels();
        ASSERT_TRUE(manager->Load(L"HoistStackerMode")->IsComplete());
    }
};

TEST_F(HoistStackerDataTest, EveryShippedLevelLiesOnScreenAndIsWonByClicksOnItsPictures)
{
    std::vector<std::pair<std::string, GameModeDifficulty>> shipped;
    for (int d = 0; d < GameModeDifficulty_Count; ++d)
    {
        const std::set<std::string> drawn = DrawnLevels(GameModeType_HoistStacker, static_cast<GameModeDifficulty>(d));
        EXPECT_GE(drawn.size(), 3u) << kGameModeDifficultyNames[d];
        for (const std::string& name : drawn)
            shipped.emplace_back(name, static_cast<GameModeDifficulty>(d));
    }
    const auto onScreen = [](SceneNode& node)
    {
        const Rect<float> r = node.GlobalGetBounds();
        return r.width > 0 && r.x >= 0 && r.y >= 0 && r.x + r.width <= 800 && r.y + r.height <= 600;
    };
    for (const auto& [name, difficulty] : shipped)
    {
        SCOPED_TRACE(name);
        GetLevelManager().clearLevels();
        GetLevelManager().addLevelForGameModeType(GameModeType_HoistStacker, Label(name.c_str()), difficulty);
        GetLevelManager().difficulty = difficulty;
        TakeLog();
        auto game = StartNew<HoistStackerMode>();
        EXPECT_EQ(game->getLevel(), Label(name.c_str()));
        EXPECT_EQ(TakeLog().find("missing"), std::string::npos);
        ASSERT_TRUE(StepUntil(*game, [&] { return OnGround(*game); }));
        for (StackableObject* object : game->getObjects())
            EXPECT_TRUE(onScreen(*object->getImageNode()));
        // Each is picked up by a click at the middle of its picture and dropped on its platform's.
        PlayRight(*game);
        if (HasFatalFailure())
            return;
        for (StackableObject* object : game->getObjects())
            EXPECT_TRUE(onScreen(*object->getImageNode()));
        // Medium has a second round here; otherwise the reward, or free play once the stickers run out.
        ASSERT_EQ(screens.size(), 1u);
        EXPECT_EQ(screens[0] == "unwind next round", difficulty == GameModeDifficulty_Medium) << screens[0];
        game.reset();
        context.reset();
    }
}

} // namespace
