#include "game/MiniGamePattern.h"

#include "core/Random.h"
#include "framework/MainLoop.h"
#include "framework/Object.h"
#include "framework/TimedTask.h"
#include "game/MiniGameSequence.h"
#include "scene/NodePropertyTasks.h"
#include "scene/SceneApplicationMode.h"
#include "scene/SceneNode.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace Yardcrew;

using namespace Strata;

namespace
{

TEST(MiniGameRounds, ARunPlaysTheTableEntryPlusOneRoundsAndEndsAfterTheLast)
{
    const int loops[] = {1, 2, 3};
    const struct
    {
        int given;
        GameModeDifficulty difficulty;
        int stored;
    } cases[] = {
        {-1, GameModeDifficulty_Easy, 1},  {-1, GameModeDifficulty_Medium, 2}, {-1, GameModeDifficulty_Hard, 3},
        {2, GameModeDifficulty_Medium, 1}, {1, GameModeDifficulty_Medium, 0},  {0, GameModeDifficulty_Medium, -1},
        {-1, GameModeDifficulty_None, 0},  {-1, GameModeDifficulty_Count, 0},  {-5, GameModeDifficulty_Easy, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MiniGameRoundsLeft(c.given, c.difficulty, loops), c.stored) << c.given << " at " << c.difficulty;

    // A whole run at "Medium": rounds are played until one ends with nothing left.
    int rounds = 1;
    for (int left = MiniGameRoundsLeft(-1, GameModeDifficulty_Medium, loops); left > 0;
         left = MiniGameRoundsLeft(left, GameModeDifficulty_Medium, loops))
        ++rounds;
    EXPECT_EQ(rounds, 3);

    // A broken table still gives a run that ends.
    const int negative[] = {-4};
    EXPECT_EQ(MiniGameRoundsLeft(-1, GameModeDifficulty_Easy, negative), 0);
    EXPECT_EQ(MiniGameRoundsLeft(-1, GameModeDifficulty_Easy, {}), 0);
}

TEST(MiniGameDraw, AnIndexOtherThanTheOneGivenIsDrawnEvenlyAndTheDrawEnds)
{
    Random::SetSeedOverride(3);
    Random::Engine_Setup();
    const struct
    {
        int count;
        int except;
        std::vector<int> drawn; // every index that may come, each about as often
    } cases[] = {
        {3, 0, {1, 2}}, {3, 2, {0, 1}}, {2, 1, {0}}, {4, -1, {0, 1, 2, 3}}, {2, 7, {0, 1}}, {1, 0, {}}, {0, -1, {}},
    };
    for (const auto& c : cases)
    {
        std::vector<int> seen(static_cast<size_t>(c.count));
        for (int draw = 0; draw < 600; ++draw)
        {
            const int index = DrawIndexOtherThan(c.count, c.except);
            if (c.drawn.empty())
            {
                EXPECT_EQ(index, -1) << c.count;
                break;
            }
            ASSERT_TRUE(index >= 0 && index < c.count && index != c.except) << index;
            ++seen[static_cast<size_t>(index)];
        }
        for (int index : c.drawn)
            EXPECT_GT(seen[static_cast<size_t>(index)], 600 / static_cast<int>(c.drawn.size()) / 2)
                << index << " of " << c.count;
    }
    Random::Engine_Destroy();
    Random::ClearSeedOverride();
}

class PlayfieldTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mode->Setup();
        MainLoop::WithinContext(mode.get(), guard);
        layer = Add(mode->GetRootNode(), "Layer", 0, 0, 800, 600);
    }

    SceneNode* Add(SceneNode* parent, const char* name, float x, float y, float width, float height)
    {
        auto* node = new SceneNode();
        node->SetNodeName(Label(name));
        node->LocalSetLocation(x, y);
        node->SetWidth(width);
        node->SetHeight(height);
        parent->AttachChild(node);
        node->AddToDatabase(mode.get());
        return node;
    }

    std::string Order() const
    {
        std::string names;
        for (SceneNode* child : layer->GetChildren())
            names += std::string(child->GetNodeName().c_str()) + " ";
        return names;
    }

    std::unique_ptr<SceneApplicationMode> mode = std::make_unique<SceneApplicationMode>();
    MainLoop::AutoContext guard;
    SceneNode* layer = nullptr;
};

TEST_F(PlayfieldTest, LowerEntitiesDrawLaterAndEqualBottomsKeepTheirOrder)
{
    // Bottoms: A 300; B 200 by its marker although its picture reaches 500; C 300 through a child
    // reaching below its own rectangle; D 100; E 300.
    Add(layer, "A", 0, 200, 50, 100);
    SceneNode* b = Add(layer, "B", 0, 0, 50, 500);
    Add(b, "PlayfieldEntityBottomLoc", 0, 200, 1, 1);
    SceneNode* c = Add(layer, "C", 0, 0, 50, 50);
    Add(c, "Shadow", 0, 250, 10, 50);
    Add(layer, "D", 0, 50, 50, 50);
    Add(layer, "E", 0, 250, 50, 50);

    SortPlayfieldEntities(layer);
    EXPECT_EQ(Order(), "D B A C E ");
    // Sorting a sorted layer changes nothing, and a moved entity finds its new place.
    SortPlayfieldEntities(layer);
    EXPECT_EQ(Order(), "D B A C E ");
    b->LocalSetLocation(0, 150);
    SortPlayfieldEntities(layer);
    EXPECT_EQ(Order(), "D A C E B ");
    SortPlayfieldEntities(nullptr);
}

// Only nodes below "GameScreenRoot"/"Playfield" are found, by name, computed name or index, and as the
// type asked for.
TEST_F(PlayfieldTest, PlayfieldNodesAreFoundBelowThePlayfieldOnlyAndOfTheTypeAsked)
{
    struct Flag : SceneNode
    {
    };
    EXPECT_EQ(PlayfieldNode(), nullptr);
    SceneNode* screen = Add(mode->GetRootNode(), "GameScreenRoot", 0, 0, 800, 600);
    Add(screen, "Decoy", 0, 0, 10, 10);
    SceneNode* playfield = Add(screen, "Playfield", 0, 0, 800, 600);
    SceneNode* truck = Add(playfield, "TruckNode", 0, 0, 100, 50);
    Add(truck, "Bed_1", 0, 0, 10, 10);
    SceneNode* bed = Add(truck, "Bed_2", 20, 0, 10, 10);
    auto* flag = new Flag();
    flag->SetNodeName(Label("Flag"));
    playfield->AttachChild(flag);
    flag->AddToDatabase(mode.get());

    const std::string second = "Bed_" + std::to_string(2);
    struct Case
    {
        SceneNode* found;
        SceneNode* expected;
        const char* what;
    };
    const Case cases[] = {
        {PlayfieldNode(), playfield, "no steps"},
        {PlayfieldNode("TruckNode"), truck, "a name"},
        {PlayfieldNode("TruckNode", second), bed, "a computed name"},
        {PlayfieldNode("TruckNode", 1), bed, "an index"},
        {PlayfieldNode("TruckNode", 2), nullptr, "an index past the last"},
        {PlayfieldNode("Missing", "Bed_2"), nullptr, "a missing step"},
        {PlayfieldNode("Decoy"), nullptr, "a node beside the playfield"},
        {PlayfieldNode<Flag>("Flag"), flag, "the type asked"},
        {PlayfieldNode<Flag>("TruckNode"), nullptr, "another type"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.found, c.expected) << c.what;
}

TEST_F(PlayfieldTest, SequenceChainsMeetAtEachSyncAndTheMaskClosesThePlayfieldMeanwhile)
{
    SceneNode* mask = Add(layer, "Mask", 0, 0, 800, 600);
    mask->LocalSetVisible(false);
    Object truck;
    Object voice;
    std::vector<std::string> heard;
    int frame = 0;
    auto note = [&](const char* what)
    { return [&heard, &frame, what] { heard.push_back(what + std::to_string(frame)); }; };

    mask->AddTask(std::make_unique<NodeVisibleTask>(true));
    truck.AddTask(std::make_unique<TimedTask>(0.1f));
    QueueCall(truck, note("truck"));
    QueueCall(voice, note("voice"));
    Meet({mask, &truck, &voice});
    QueueCall(truck, note("after-truck"));
    QueueCall(voice, note("after-voice"));
    voice.AddTask(std::make_unique<TimedTask>(0.05f));
    // A list made as the game runs may hold a chain twice or a gone one.
    Meet(std::vector<Object*>{mask, &truck, nullptr, &voice, &truck});
    mask->AddTask(std::make_unique<NodeVisibleTask>(false));
    QueueCall(truck, note("end"));

    EXPECT_FALSE(mask->LocalIsVisible());
    for (frame = 1; frame <= 20; ++frame)
    {
        for (Object* object : {static_cast<Object*>(mask), &truck, &voice})
            object->UpdateInternal(0.02f);
        if (frame == 1)
            EXPECT_TRUE(mask->LocalIsVisible());
    }
    // The voice waits for the truck's move; both go on together; the mask drops only after the last
    // chain has reached the second meeting point.
    ASSERT_EQ(heard.size(), 5u);
    EXPECT_EQ(heard[0], "voice1");
    EXPECT_GE(std::stoi(heard[1].substr(5)), 5);
    const int met = std::stoi(heard[2].substr(11));
    EXPECT_GT(met, std::stoi(heard[1].substr(5)));
    EXPECT_EQ(heard[2], "after-truck" + std::to_string(met));
    EXPECT_EQ(heard[3], "after-voice" + std::to_string(met));
    EXPECT_GT(std::stoi(heard[4].substr(3)), met + 2);
    EXPECT_FALSE(mask->LocalIsVisible());
}

} // namespace
