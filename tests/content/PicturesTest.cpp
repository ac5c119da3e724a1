// What a child sees in the shipped pictures: each game's instruction pose shows something of its own in
// the foreman's bubble, each tool kind is one drawing in the games that share it, an animated animal or
// vehicle is never cut at its frame's edge, and the things a small hand must hit are at least a finger's
// width across.

#include "ContentData.h"
#include "core/Label.h"
#include "core/Singleton.h"
#include "framework/ResourceDescriptor.h"
#include "framework/ResourceLoading.h"
#include "framework/ResourceManager.h"
#include "framework/ValueResources.h"
#include "game/ForemanInstructionMode.h"
#include "game/GameRegistry.h"
#include "game/MiniGameMode.h"
#include "graphics/ImageList.h"
#include "graphics/ImageListResourceFactory.h"
#include "graphics/ImageResourceFactory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <utility>

using namespace Strata;
using namespace Strata::Content;
using namespace Yardcrew;

namespace
{

class ShippedPictures : public ShippedDataTest
{
protected:
    void Load(const wchar_t* manifest)
    {
        EXPECT_EQ(eLoadingJobStatus::Complete, manager->Load(manifest)->GetStatus()) << manifest;
    }
};

// The box round frame `i`'s opaque pixels: width and height.
std::pair<int, int> OpaqueBox(const IImageList& list, int i)
{
    int left = list.GetImageWidth(i), right = -1, top = list.GetImageHeight(i), bottom = -1;
    for (int y = 0; y < list.GetImageHeight(i); ++y)
        for (int x = 0; x < list.GetImageWidth(i); ++x)
            if (list.GetImagePixelAlpha(i, x, y) > 0)
            {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    return {std::max(0, right - left + 1), std::max(0, bottom - top + 1)};
}

// The opaque pixels of frame `i` that differ from frame `j` (of the same size).
int DifferingPixels(const IImageList& list, int i, int j)
{
    int differing = 0;
    for (int y = 0; y < list.GetImageHeight(i); ++y)
        for (int x = 0; x < list.GetImageWidth(i); ++x)
        {
            const Color32 a = list.GetImagePixel(i, x, y);
            const Color32 b = list.GetImagePixel(j, x, y);
            differing += a.r != b.r || a.g != b.g || a.b != b.b || a.a != b.a;
        }
    return differing;
}

} // namespace

TEST_F(ShippedPictures, EveryGameShowsItsOwnTaskInTheInstructionBubble)
{
    Load(L"ForemanInstructionMode");
    const auto* poses = dynamic_cast<const IImageList*>(manager->GetResource(Label("ForemanPoses")).get());
    ASSERT_NE(nullptr, poses);
    ASSERT_GE(poses->GetNumImages(), kIntroForemanStates);
    RegisterGames();
    std::set<int> seen;
    for (const sGameRegistration& registered : GetRegisteredGames())
    {
        SCOPED_TRACE(registered.label);
        const sMiniGameDescription* game = registered.description;
        ASSERT_NE(game, nullptr);
        const int pose = game->introState;
        EXPECT_EQ(IntroForemanStateFor(game->type), game->introState);
        EXPECT_TRUE(seen.insert(pose).second) << "pose " << pose << " is another game's";
        ASSERT_GT(pose, IntroForemanState_Default);
        ASSERT_LT(pose, poses->GetNumImages());
        // The task fills a good part of the bubble, where the waiting pose shows three dots.
        EXPECT_GT(DifferingPixels(*poses, pose, IntroForemanState_Default), 40 * 40);
        for (int other : seen)
            if (other != pose)
                EXPECT_GT(DifferingPixels(*poses, pose, other), 40 * 40) << "pose " << pose << " looks like " << other;
    }
    EXPECT_EQ(size_t(GameModeType_Count), seen.size());
}

TEST_F(ShippedPictures, EachToolKindIsOneDrawingInTheGamesThatShareIt)
{
    // A child learns a tool's word from its picture: the tool shed and the leaf pile draw each kind the
    // same way up, at their own sizes, so the box round its pixels has one shape (a tool laid another
    // way, or another drawing of it, changes the shape), and in the leaf pile it is still a finger wide.
    Load(L"ToolShedMode");
    Load(L"PileOfLeavesMode");
    for (const char* kind : {"Brush", "Drill", "Hammer", "Wrench", "Saw", "Screwdriver", "Level", "Pliers"})
    {
        const auto* shed = dynamic_cast<const IImageList*>(
            manager->GetResource(Label::FromString(std::string("ToolShedTool_") + kind + "_Frames")).get());
        const auto* leaves = dynamic_cast<const IImageList*>(
            manager->GetResource(Label::FromString(std::string("GeneralTool_") + kind)).get());
        ASSERT_NE(nullptr, shed) << kind;
        ASSERT_NE(nullptr, leaves) << kind;
        ASSERT_GE(leaves->GetNumImages(), 4) << kind;
        for (int colour = 0; colour < std::min(shed->GetNumImages(), 4); ++colour)
        {
            const auto [shedWide, shedHigh] = OpaqueBox(*shed, colour);
            const auto [wide, high] = OpaqueBox(*leaves, colour);
            ASSERT_GT(shedHigh * high, 0) << kind << " frame " << colour << " is empty";
            const float ratio = (float(shedWide) / float(shedHigh)) / (float(wide) / float(high));
            EXPECT_NEAR(1.0f, ratio, 0.1f) << kind << " frame " << colour << ": " << shedWide << "x" << shedHigh
                                           << " in the tool shed, " << wide << "x" << high << " in the leaf pile";
            EXPECT_GE(std::min(wide, high), 36) << kind << " frame " << colour << " is small in the leaf pile";
        }
    }
}

TEST_F(ShippedPictures, AnimatedAnimalsAndVehiclesAreNotCutAtTheirFramesEdge)
{
    const struct
    {
        const wchar_t* manifest;
        const char* list;
        int frames; // the frames that show the animal (a timed showing ends on an empty one)
    } kCases[] = {
        {L"HideAndSeekMode", "HS_TailFrames", 3},
        {L"HideAndSeekMode", "HS_TabbyFrames", 3},
        {L"PileOfLeavesMode", "POL_DogFrames", 5},
        // The delivery truck, bobbing as it drives, keeps its wheels and its roof.
        {L"HereToThereMode", "HTT_TruckFrames", 3},
    };
    for (const auto& c : kCases)
    {
        Load(c.manifest);
        const auto* list = dynamic_cast<const IImageList*>(manager->GetResource(Label(c.list)).get());
        ASSERT_NE(nullptr, list) << c.list;
        ASSERT_GE(list->GetNumImages(), c.frames) << c.list;
        for (int i = 0; i < c.frames; ++i)
        {
            const int w = list->GetImageWidth(i), h = list->GetImageHeight(i);
            int onEdge = 0, drawn = 0;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                {
                    const bool opaque = list->GetImagePixelAlpha(i, x, y) > 0;
                    drawn += opaque;
                    onEdge += opaque && (x == 0 || y == 0 || x == w - 1 || y == h - 1);
                }
            EXPECT_GT(drawn, w * h / 10) << c.list << " frame " << i << " is nearly empty";
            EXPECT_EQ(0, onEdge) << c.list << " frame " << i << " is cut at its edge";
        }
    }
}

TEST_F(ShippedPictures, TargetsASmallHandHitsAreAFingerWide)
{
    // Where a game takes presses only on a picture's drawn pixels, those pixels (as opaque as the game's
    // threshold) span at least a finger's width both ways, in every frame. The delivery game's marks
    // are read, not pressed (the cage's click area is the whole cage), but must be as plain.
    constexpr int kFinger = 48;
    const struct
    {
        const wchar_t* manifest;
        const char* list;
        int alpha;  // the game's alpha threshold for a hit
        int across; // the least width and height
        int frames; // the frames that are targets (a last glow frame is none); 0: all
    } kCases[] = {
        {L"HoistStackerMode", "RedLogs", 100, kFinger, 0},
        {L"HoistStackerMode", "BlueLogs", 100, kFinger, 0},
        {L"HoistStackerMode", "RedGirders", 100, kFinger, 0},
        {L"HoistStackerMode", "BlueGirders", 100, kFinger, 0},
        {L"ToolShedMode", "ToolShedTool_Level_Frames", 60, kFinger, 0},
        {L"ToolShedMode", "ToolShedTool_Pliers_Frames", 60, kFinger, 0},
        {L"ToolShedMode", "ToolShedTool_Hammer_Frames", 60, kFinger, 0},
        {L"HaulersDeliveryMode", "HaulerDeliveryItems_Large", 128, kFinger, 0},
        // A pile takes presses on its faint apron too, so a lone flat brick or log is as easy to hit.
        {L"CountTheMaterialsMode", "Materials-Bricks-Red", 3, kFinger, 0},
        {L"CountTheMaterialsMode", "Materials-Logs-Yellow", 3, kFinger, 0},
        {L"CountTheMaterialsMode", "Materials-Plant", 3, kFinger, 0},
        {L"CountTheMaterialsMode", "Materials-Cement-Gray", 3, kFinger, 0},
        {L"PileOfLeavesMode", "GeneralTool_Hammer", 1, kFinger, 4},
        {L"PileOfLeavesMode", "GeneralTool_Pliers", 1, kFinger, 4},
        // The options sliders' thumb, pressed on its pixels as opaque as the slider's default threshold.
        {L"DifficultyOptionsQuit", "SliderThumb", 25, kFinger, 0},
        {L"HereToThereMode", "HereToThere_Star", 1, 38, 0},
        {L"HereToThereMode", "HereToThere_Circle", 1, 38, 0},
        {L"HereToThereMode", "HereToThere_Triangle", 1, 38, 0},
        {L"HereToThereMode", "HereToThere_Rectangle", 1, 38, 0},
    };
    for (const auto& c : kCases)
    {
        Load(c.manifest);
        const auto* list = dynamic_cast<const IImageList*>(manager->GetResource(Label(c.list)).get());
        ASSERT_NE(nullptr, list) << c.list;
        const int frames = c.frames > 0 ? c.frames : list->GetNumImages();
        ASSERT_GE(list->GetNumImages(), frames) << c.list;
        for (int i = 0; i < frames; ++i)
        {
            int left = list->GetImageWidth(i), right = -1, top = list->GetImageHeight(i), bottom = -1;
            for (int y = 0; y < list->GetImageHeight(i); ++y)
                for (int x = 0; x < list->GetImageWidth(i); ++x)
                    if (list->GetImagePixelAlpha(i, x, y) >= c.alpha)
                    {
                        left = std::min(left, x), right = std::max(right, x);
                        top = std::min(top, y), bottom = std::max(bottom, y);
                    }
            EXPECT_GE(right - left + 1, c.across) << c.list << " frame " << i << " is too narrow";
            EXPECT_GE(bottom - top + 1, c.across) << c.list << " frame " << i << " is too low";
        }
    }
}
