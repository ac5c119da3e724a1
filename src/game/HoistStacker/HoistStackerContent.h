#pragma once

// Every resource name the stacking game's code asks for, declared once: the code reads each name from
// here and the content check reads the list.

#include "game/ContentNames.h"
#include "game/HoistStacker/HoistStackerLevel.h"

#include <span>

namespace Yardcrew::HoistStackerContent
{

inline constexpr sContentName kModeLayout{ContentKind_SceneLayout, "HoistStackerModeLayout"};
inline constexpr sContentName kObjectLayout{ContentKind_SceneLayout, "StackableObjectLayout"};
inline constexpr sContentName kTargetLayout{ContentKind_SceneLayout, "StackTargetLayout"};

inline constexpr sContentName kCursor{ContentKind_Image, "cursor_default"};
inline constexpr sContentName kCursorHotSpot{ContentKind_Constant, "DefaultCursorRegPt"};
// One frame per size, [kind][colour]; the highlights by kind.
inline constexpr sContentName kPictures[StackObjectType_Count][StackObjectColor_Count] = {
    {{ContentKind_ImageList, "RedGirders", kHoistStackerMaxSize},
     {ContentKind_ImageList, "BlueGirders", kHoistStackerMaxSize}},
    {{ContentKind_ImageList, "RedLogs", kHoistStackerMaxSize},
     {ContentKind_ImageList, "BlueLogs", kHoistStackerMaxSize}}};
inline constexpr sContentName kRollovers[StackObjectType_Count] = {
    {ContentKind_ImageList, "GirderRollover", kHoistStackerMaxSize},
    {ContentKind_ImageList, "LogRollover", kHoistStackerMaxSize}};
inline constexpr sContentName kPlatforms[StackObjectColor_Count] = {{ContentKind_Image, "Platform_Red"},
                                                                    {ContentKind_Image, "Platform_Blue"}};
// Hoist's animations; both end.
inline constexpr const char* kSad = "Sad";
inline constexpr const char* kHappy = "Happy";
inline constexpr const char* kHoistAnimations[] = {kSad, kHappy};
inline constexpr sContentName kHoistSprite{ContentKind_SpriteType, "ST_Hoist_SpriteType", 0, kAnyContentCount,
                                           kHoistAnimations};

inline constexpr sContentName kMusic{ContentKind_Sound, "Music_Track2"};
inline constexpr sContentName kFirstHint{ContentKind_Voice, "InGameHint_HoistStacker_1"};
inline constexpr sContentName kLaterHint{ContentKind_Voice, "InGameHint_HoistStacker_2"};
inline constexpr sContentName kIThinkSo{ContentKind_Voice, "VO_Hoist_IThinkSo"};
inline constexpr sContentName kTada{ContentKind_Voice, "VO_HoistTada"};
// Said where a level has both colours, and after a drop on the other colour's platform.
inline constexpr sContentName kSameColor{ContentKind_Voice, "HoistStacker_SameColor"};
inline constexpr sContentName kRollover{ContentKind_Sound, "SFX_ObjectRollover"};
inline constexpr sContentName kStick{ContentKind_Sound, "SFX_ObjectStick"};
inline constexpr sContentName kDrop{ContentKind_Sound, "SFX_DropGirder"};
inline constexpr sContentName kFall{ContentKind_Sound, "SFX_GirderFall"};

// Every name above, written by the build from this header.
const sDeclaredContent& Declared();

} // namespace Yardcrew::HoistStackerContent
