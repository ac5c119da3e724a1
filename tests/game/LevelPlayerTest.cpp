// Every level shipped in data/ played through its own game's mode over the real data, under the
// sanitizers; and the level fuzz targets' player plays exactly the levels its reader files.

#include "LevelPlayer.h"

#include "game/GameRegistry.h"
#include "game/LevelManager.h"
#include "game/MiniGameMode.h"
#include "game/PlayfieldObject.h"
#include "graphics/Image.h"
#include "graphics/ImageList.h"
#include "scene/AnimationController.h"
#include "scene/SceneNode.h"
#include "scene/SpriteNodes.h"

#include "GameServicesTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

using namespace GameTesting;
using namespace Yardcrew;

namespace
{

TEST(LevelPlayerTest, EveryShippedLevelPlaysThroughItsMode)
{
    RegisterGames();
    for (const sGameRegistration& game : GetRegisteredGames())
    {
        SCOPED_TRACE(game.label);
        LevelPlayer player(game.type, MENAGERIE_DATA_DIR);
        ASSERT_TRUE(player.IsLoaded());
        std::vector<std::set<std::string>> drawn;
        for (int d = 0; d < GameModeDifficulty_Count; ++d)
            drawn.push_back(DrawnLevels(game.type, static_cast<GameModeDifficulty>(d)));
        for (size_t d = 0; d < drawn.size(); ++d)
        {
            EXPECT_GE(drawn[d].size(), 3u) << "difficulty " << d;
            for (const std::string& name : drawn[d])
            {
                SCOPED_TRACE(name);
                player.Play(Strata::Label(name.c_str()), static_cast<GameModeDifficulty>(d));
            }
        }
    }
}

// The node of the tree that takes its presses now: the first, parents first, that takes hits, shows
// and answers a press; null when none does.
Strata::SceneNode* PressNode(Strata::SceneNode* node)
{
    if (node == nullptr)
        return nullptr;
    if (node->hitTest && node->GlobalIsVisible() && !node->mouseDownSignal.empty())
        return node;
    for (Strata::SceneNode* child : node->GetChildren())
        if (Strata::SceneNode* found = PressNode(child))
            return found;
    return nullptr;
}

// The box around what the press node draws (its pixels at least half opaque), on the screen; the
// node's bounds when it draws no picture.
Strata::Rect<float> DrawnBox(Strata::SceneNode& node)
{
    const Strata::IImage* picture = nullptr;
    if (auto* still = dynamic_cast<Strata::StaticSpriteNode*>(&node))
        picture = still->GetImage();
    else if (auto* animated = dynamic_cast<Strata::AnimatedSpriteNode*>(&node);
             animated != nullptr && animated->GetImageList() != nullptr && animated->GetAnimationController())
        picture = animated->GetImageList()->GetImage(animated->GetAnimationController()->GetFrameIndex());
    const Strata::Rect<float> bounds = node.GlobalGetBounds();
    if (picture == nullptr || picture->GetWidth() <= 0 || picture->GetHeight() <= 0)
        return bounds;
    int left = picture->GetWidth();
    int right = -1;
    int top = picture->GetHeight();
    int bottom = -1;
    for (int y = 0; y < picture->GetHeight(); ++y)
        for (int x = 0; x < picture->GetWidth(); ++x)
            if (picture->GetPixel(x, y).a >= 128)
            {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    if (right < 0)
        return bounds;
    const float sx = bounds.width / static_cast<float>(picture->GetWidth());
    const float sy = bounds.height / static_cast<float>(picture->GetHeight());
    return Strata::Rect<float>(bounds.x + static_cast<float>(left) * sx, bounds.y + static_cast<float>(top) * sy,
                               static_cast<float>(right - left + 1) * sx, static_cast<float>(bottom - top + 1) * sy);
}

// Every item a child can press in every game, as the shipped data draws it, takes a press at the
// centre of its picture, wherever the picture is transparent there (between a pair of pliers'
// handles): no part of what is drawn lets a press fall through to the floor. Each is pressed once the
// playfield is open and everything stands still, with the game's own answer cut off, so every item
// of the round is pressed; a carried item is put down again where it was taken.
TEST(LevelPlayerTest, APressAtTheCentreOfEveryItemsPictureTakesIt)
{
    RegisterGames();
    for (const sGameRegistration& registered : GetRegisteredGames())
    {
        SCOPED_TRACE(registered.label);
        LevelPlayer player(registered.type, MENAGERIE_DATA_DIR);
        ASSERT_TRUE(player.IsLoaded());
        int pressed = 0;
        // Every shipped level with its difficulty, taken before playing clears the filed levels.
        std::vector<std::pair<std::string, int>> shipped;
        for (int d = 0; d < GameModeDifficulty_Count; ++d)
            for (const std::string& name : DrawnLevels(registered.type, static_cast<GameModeDifficulty>(d)))
                shipped.emplace_back(name, d);
        for (const auto& [level, d] : shipped)
        {
            SCOPED_TRACE(level);
            // Filed alone and started as free play starts a game, which draws it.
            LevelManager& filed = GetLevelManager();
            filed.clearLevels();
            filed.addLevelForGameModeType(registered.type, Strata::Label(level.c_str()),
                                          static_cast<GameModeDifficulty>(d));
            filed.difficulty = static_cast<GameModeDifficulty>(d);
            player.Run(Strata::Label(),
                       [&](Strata::ApplicationMode& mode)
                       {
                           auto& game = dynamic_cast<MiniGameMode&>(mode);
                           // An item the child picks is one whose presses its game listens for (not a
                           // place, nor a vehicle that only sounds its horn).
                           std::set<PlayfieldObject*> listened;
                           const auto listen = [&]
                           {
                               for (PlayfieldObject* object : game.getPlayfieldObjects())
                                   if (!object->pressedSignal.empty())
                                       listened.insert(object);
                           };
                           listen();
                           // The items taking presses on the screen, and where their pictures lie.
                           const auto pressable = [&]
                           {
                               std::vector<std::pair<PlayfieldObject*, Strata::Rect<float>>> boxes;
                               for (PlayfieldObject* object : game.getPlayfieldObjects())
                                   if (Strata::SceneNode* node = PressNode(object->LayoutRoot());
                                       node != nullptr && listened.count(object) != 0)
                                   {
                                       const Strata::Rect<float> box = DrawnBox(*node);
                                       const float x = box.x + box.width / 2;
                                       const float y = box.y + box.height / 2;
                                       if (x >= 0 && x < 800 && y >= 0 && y < 600)
                                           boxes.emplace_back(object, box);
                                   }
                               return boxes;
                           };
                           const auto same = [](const Strata::Rect<float>& a, const Strata::Rect<float>& b)
                           { return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height; };
                           // The playfield open and nothing that takes presses moving over a step.
                           const auto stepUntilStill = [&]
                           {
                               for (int step = 0; step < 3000; ++step)
                               {
                                   const auto before = pressable();
                                   game.Update(0.02f);
                                   listen();
                                   const auto after = pressable();
                                   Strata::SceneNode* mask = game.getInputMask();
                                   if ((mask != nullptr && mask->GlobalIsVisible()) || after.empty() ||
                                       after.size() != before.size())
                                       continue;
                                   if (std::all_of(after.begin(), after.end(),
                                                   [&](const auto& item)
                                                   {
                                                       const auto was = std::find_if(
                                                           before.begin(), before.end(),
                                                           [&](const auto& old) { return old.first == item.first; });
                                                       return was != before.end() && same(was->second, item.second);
                                                   }))
                                       return true;
                               }
                               return false;
                           };
                           ASSERT_TRUE(stepUntilStill());
                           std::map<PlayfieldObject*, int> presses;
                           for (PlayfieldObject* object : listened)
                           {
                               object->pressedSignal.disconnect_all_slots();
                               object->pressedSignal.connect([&presses, object] { ++presses[object]; });
                           }
                           for (const auto& [object, box] : pressable())
                           {
                               const int x = static_cast<int>(box.x + box.width / 2);
                               const int y = static_cast<int>(box.y + box.height / 2);
                               game.OnMouseMove(x, y);
                               game.OnMouseDown(Strata::MouseButton_Left, x, y);
                               game.OnMouseUp(Strata::MouseButton_Left, x, y);
                               EXPECT_EQ(presses[object], 1)
                                   << "the item pressed at " << x << "," << y << " in its drawing of " << box.width
                                   << " by " << box.height << " at " << box.x << "," << box.y;
                               ++pressed;
                               // Carried, it is put down where it was taken: nothing is under it there.
                               if (game.GetMouseCapturingNode() != nullptr)
                               {
                                   game.OnMouseDown(Strata::MouseButton_Left, x, y);
                                   game.OnMouseUp(Strata::MouseButton_Left, x, y);
                               }
                               ASSERT_EQ(game.GetMouseCapturingNode(), nullptr);
                               ASSERT_TRUE(stepUntilStill());
                           }
                       });
        }
        EXPECT_GE(pressed, static_cast<int>(shipped.size()));
    }
}

// The bytes a fuzz target gives: played only when the reader files the level, the record handed back
// whenever there is an element.
TEST(LevelPlayerTest, PlaysOnlyWhatTheReaderFiles)
{
    struct sCase
    {
        const char* name;
        std::string bytes;
        bool made;
        bool played;
    };
    const sCase cases[] = {
        {"empty", "", false, false},
        {"two nails", R"(<HammerTheNailLevel difficulty="Easy"><Nail type="Wrench" color="Red"/>
            <Nail type="DriverPlus" color="Blue" clickCount="2"/></HammerTheNailLevel>)",
         true, true},
        {"later elements ignored",
         R"(<HammerTheNailLevel difficulty="Hard"><Nail type="Wrench" color="Red" clickCount="1"/>
            </HammerTheNailLevel><image name="Stray" src="missing"/>)",
         true, true},
        {"unknown difficulty", R"(<HammerTheNailLevel difficulty="Tricky"><Nail type="Wrench" color="Red"/>
            </HammerTheNailLevel>)",
         true, false},
        {"no nail", R"(<HammerTheNailLevel difficulty="Easy"/>)", true, false},
    };
    LevelPlayer player(GameModeType_HammerTheNail, MENAGERIE_DATA_DIR);
    ASSERT_TRUE(player.IsLoaded());
    for (const sCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        bool played = true;
        const auto level = player.Read(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size(), &played);
        EXPECT_EQ(level != nullptr, c.made);
        EXPECT_EQ(played, c.played);
        // Nothing the bytes held stays behind for the next run.
        EXPECT_EQ(Strata::GetResourceManager()->GetResource(Strata::Label("FuzzLevel")), nullptr);
        EXPECT_EQ(Strata::GetResourceManager()->GetResource(Strata::Label("Stray")), nullptr);
        EXPECT_TRUE(GetLevelManager().getLevelForGameModeType(GameModeType_HammerTheNail).IsNull());
    }
}

} // namespace
