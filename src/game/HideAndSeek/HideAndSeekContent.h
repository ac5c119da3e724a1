#pragma once

// Every resource name the hide-and-seek game's code asks for, declared once: the code reads each name
// from here and the content check reads the list.

#include "game/ContentNames.h"
#include "game/HideAndSeek/HideAndSeekLevel.h"

#include <span>

namespace Yardcrew::HideAndSeekContent
{

inline constexpr sContentName kModeLayout{ContentKind_SceneLayout, "HideAndSeekModeLayout"};
inline constexpr sContentName kCharacterLayout{ContentKind_SceneLayout, "HideAndSeekCharacterLayout"};
inline constexpr sContentName kObstacleLayout{ContentKind_SceneLayout, "HideAndSeekObstacleLayout"};

inline constexpr sContentName kCursor{ContentKind_Image, "cursor_hand"};
inline constexpr sContentName kCursorHotSpot{ContentKind_Constant, "HandCursorRegPt"};
// The level's "imageID" picks the same frame of both, so they hold exactly the frames the levels may name.
inline constexpr sContentName kObstacles{ContentKind_ImageList, "HideAndSeekObstacle", kHideAndSeekObstacleImages,
                                         kHideAndSeekObstacleImages};
inline constexpr sContentName kObstacleRollovers{ContentKind_ImageList, "HideAndSeekObstacle_Rollover",
                                                 kHideAndSeekObstacleImages, kHideAndSeekObstacleImages};
inline constexpr sContentName kWrongAnimals{ContentKind_ImageList, "HideAndSeek_WrongAnimals", 1};

// Tabby stands or runs; her tail peeks out from behind the obstacle for a while.
inline constexpr const char* kTabbyIdle = "Idle";
inline constexpr const char* kTabbyRun = "Run";
inline constexpr const char* kTailShow = "TimedShow";
inline constexpr const char* kTabbyAnimations[] = {kTabbyIdle, kTabbyRun};
inline constexpr const char* kTailAnimations[] = {kTailShow};
inline constexpr sContentName kTabbySprite{ContentKind_SpriteType, "HS_Tabby", 0, kAnyContentCount, kTabbyAnimations};
inline constexpr sContentName kTailSprite{ContentKind_SpriteType, "HS_Tail", 0, kAnyContentCount, kTailAnimations};

inline constexpr sContentName kMusic{ContentKind_Sound, "Music_Track1"};
inline constexpr sContentName kGameComplete{ContentKind_Voice, "HideAndSeek_GameComplete"};
inline constexpr sContentName kWrongObstacle{ContentKind_Voice, "HideAndSeek_IncorrectAnswer"};
inline constexpr sContentName kRollover{ContentKind_Sound, "SFX_ObjectRollover"};
inline constexpr sContentName kSelect{ContentKind_Sound, "SFX_SelectItem"};

inline constexpr sContentName kStartLocation{ContentKind_Constant, "TabbyStartLocation"};
inline constexpr sContentName kEndLocation{ContentKind_Constant, "TabbyEndLocation"};

// Every name above, written by the build from this header.
const sDeclaredContent& Declared();

} // namespace Yardcrew::HideAndSeekContent
