#pragma once

// Every resource name the fence-painting game's code asks for, declared once: the code reads each name
// from here and the content check reads the list.

#include "game/ContentNames.h"
#include "game/PaintIt/PaintItLevel.h"

#include <span>

namespace Yardcrew::PaintItContent
{

inline constexpr sContentName kModeLayout{ContentKind_SceneLayout, "PaintTheHouseModeLayout"};
inline constexpr sContentName kBucketLayout{ContentKind_SceneLayout, "HousePaintBucketLayout"};
inline constexpr sContentName kStripeLayout{ContentKind_SceneLayout, "HouseStripeLayout"};

// The pointer before a colour is picked, and the brush dipped in each colour (HousePaintColor order).
inline constexpr sContentName kCursor{ContentKind_Image, "cursor_brush_clean"};
inline constexpr sContentName kCursorHotSpot{ContentKind_Constant, "BrushCursorRegPt"};
inline constexpr sContentName kBrushes[HousePaintColor_Count] = {{ContentKind_Image, "cursor_brush_red"},
                                                                 {ContentKind_Image, "cursor_brush_green"},
                                                                 {ContentKind_Image, "cursor_brush_blue"},
                                                                 {ContentKind_Image, "cursor_brush_yellow"}};
// One fence board per colour (HousePaintColor order), shown painted or not.
inline constexpr const char* kBoardPainted = "Painted";
inline constexpr const char* kBoardUnpainted = "Unpainted";
inline constexpr const char* kBoardAnimations[] = {kBoardPainted, kBoardUnpainted};
inline constexpr sContentName kFences[HousePaintColor_Count] = {
    {ContentKind_SpriteType, "FenceSpriteType_Red", 0, kAnyContentCount, kBoardAnimations},
    {ContentKind_SpriteType, "FenceSpriteType_Green", 0, kAnyContentCount, kBoardAnimations},
    {ContentKind_SpriteType, "FenceSpriteType_Blue", 0, kAnyContentCount, kBoardAnimations},
    {ContentKind_SpriteType, "FenceSpriteType_Yellow", 0, kAnyContentCount, kBoardAnimations}};
// The lift truck drives in, stands, and the foreman paints from it.
inline constexpr const char* kTruckDrive = "Drive";
inline constexpr const char* kTruckIdle = "Idle";
inline constexpr const char* kTruckForemanPaint = "ForemanPaint";
inline constexpr const char* kTruckAnimations[] = {kTruckDrive, kTruckIdle, kTruckForemanPaint};
inline constexpr sContentName kTruckSprite{ContentKind_SpriteType, "PI_Truck_SpriteType", 0, kAnyContentCount,
                                           kTruckAnimations};
// One bucket picture per colour, in colour order.
inline constexpr sContentName kBuckets{ContentKind_ImageList, "PaintIt_PaintBucket", HousePaintColor_Count};

inline constexpr sContentName kMusic{ContentKind_Sound, "Ambient_Outdoor_1"};
inline constexpr sContentName kFirstHint{ContentKind_Voice, "InGameHint_PaintIt_1"};
inline constexpr sContentName kLaterHint{ContentKind_Voice, "InGameHint_PaintIt_2"};
inline constexpr sContentName kWrongColor{ContentKind_Voice, "PaintIt_WrongColor"};
inline constexpr sContentName kGameComplete{ContentKind_Voice, "PaintIt_GameComplete"};
inline constexpr sContentName kKeepGoing{ContentKind_Voice, "VO_KeepGoing"};
inline constexpr sContentName kReachArm{ContentKind_Sound, "SFX_ReachArm"};
inline constexpr sContentName kReachMove{ContentKind_Sound, "SFX_ReachMove"};
inline constexpr sContentName kPaint{ContentKind_Sound, "SFX_Paint"};
inline constexpr sContentName kRollover{ContentKind_Sound, "SFX_ObjectRollover"};
inline constexpr sContentName kClick{ContentKind_Sound, "SFX_GeneralClick"};

// Every name above, written by the build from this header.
const sDeclaredContent& Declared();

} // namespace Yardcrew::PaintItContent
