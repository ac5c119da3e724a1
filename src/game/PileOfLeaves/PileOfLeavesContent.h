#pragma once

// Every resource name the tool-finding game's code asks for, declared once: the code reads each name
// from here and the content check reads the list.

#include "game/AudioContent.h"
#include "game/ContentNames.h"
#include "game/YardcrewNames.h"

#include <span>

namespace Yardcrew::PileOfLeavesContent
{

inline constexpr sContentName kModeLayout{ContentKind_SceneLayout, "PileOfLeavesModeLayout"};
inline constexpr sContentName kLeafLayout{ContentKind_SceneLayout, "LeafLayout"};
inline constexpr sContentName kToolLayout{ContentKind_SceneLayout, "LeafCoveredToolLayout"};
inline constexpr sContentName kAnimatedLeafLayout{ContentKind_SceneLayout, "AnimatedLeafLayout"};

inline constexpr sContentName kCursor{ContentKind_Image, "cursor_hand"};
inline constexpr sContentName kCursorHotSpot{ContentKind_Constant, "HandCursorRegPt"};
inline constexpr sContentName kLeaves{ContentKind_ImageList, "Leaves", 1};
// One list per tool kind, in the shared tool table's order: the tool in Red, Green, Blue and Yellow,
// then its highlight outline.
inline constexpr int kHighlightImage = 4;
inline constexpr sContentName kToolImages[] = {
    {ContentKind_ImageList, "GeneralTool_Hammer", 5}, {ContentKind_ImageList, "GeneralTool_Saw", 5},
    {ContentKind_ImageList, "GeneralTool_Drill", 5},  {ContentKind_ImageList, "GeneralTool_Brush", 5},
    {ContentKind_ImageList, "GeneralTool_Wrench", 5}, {ContentKind_ImageList, "GeneralTool_Screwdriver", 5},
    {ContentKind_ImageList, "GeneralTool_Level", 5},  {ContentKind_ImageList, "GeneralTool_Pliers", 5}};
static_assert(std::size(kToolImages) == YardcrewTool_Count);

// The dog in the layout, whose "Correct" and "Wrong" the game starts.
inline constexpr const char* kDogCorrect = "Correct";
inline constexpr const char* kDogWrong = "Wrong";
inline constexpr const char* kDogAnimations[] = {kDogCorrect, kDogWrong};
inline constexpr sContentName kDogSprite{ContentKind_SpriteType, "PileOfLeaves_Dog", 0, kAnyContentCount,
                                         kDogAnimations};
// The tools hide in the first colours of the shared table.
inline constexpr int kToolColorCount = 4;
// The requested tool, said with its colour as each language says it: the words of every tool in every
// colour a tool may have (AudioContent::kColoredToolWords), listed by List().

inline constexpr sContentName kMusic{ContentKind_Sound, "Music_Track3"};
inline constexpr sContentName kFirstHint{ContentKind_Voice, "InGameHint_Leaves_1"};
inline constexpr sContentName kGameComplete{ContentKind_Voice, "PileOfLeaves_GameComplete"};
inline constexpr sContentName kWrongTool{ContentKind_Voice, "PileOfLeaves_IncorrectAnswer"};
inline constexpr sContentName kBlowLeaves{ContentKind_Sound, "SFX_BlowLeaves"};
inline constexpr sContentName kRollover{ContentKind_Sound, "SFX_ObjectRollover"};
inline constexpr sContentName kSelect{ContentKind_Sound, "SFX_SelectItem"};

inline constexpr sContentName kIntroTime{ContentKind_Constant, "PreIntroLeafFlightTime"};
inline constexpr sContentName kLeafDelayMax{ContentKind_Constant, "PreFlightLeafDelayMax"};
inline constexpr sContentName kLeafSpeed{ContentKind_Constant, "LeafFlightSpeed"};
inline constexpr sContentName kToolSpeed{ContentKind_Constant, "ToolCorrectFlySpeed"};

// Every name above, written by the build from this header.
const sDeclaredContent& Declared();
// The names above and the ones built from the game's tables.
std::span<const sContentName> List();

} // namespace Yardcrew::PileOfLeavesContent
