#pragma once

// Every resource name the cargo-pattern game's code asks for, declared once: the code reads each name
// from here and the content check reads the list.

#include "game/ContentNames.h"
#include "game/HaulersDelivery/HaulersDeliveryLevel.h"

#include <span>

namespace Yardcrew::HaulersDeliveryContent
{

inline constexpr sContentName kModeLayout{ContentKind_SceneLayout, "HaulersDeliveryModeLayout"};
inline constexpr sContentName kCartLayout{ContentKind_SceneLayout, "DeliveryCartLayout"};
inline constexpr sContentName kCargoLayout{ContentKind_SceneLayout, "DeliveryObjectLayout"};

inline constexpr sContentName kCursor{ContentKind_Image, "cursor_default"};
inline constexpr sContentName kCursorHotSpot{ContentKind_Constant, "DefaultCursorRegPt"};
// One frame per cargo type, in type order. The lists keep the data's "HaulerDelivery", without the s.
inline constexpr sContentName kSmallCargo{ContentKind_ImageList, "HaulerDeliveryItems_Small",
                                          HaulersDeliveryType_Count};
inline constexpr sContentName kSmallRollover{ContentKind_ImageList, "HaulerDeliveryItems_Small_rollover",
                                             HaulersDeliveryType_Count};
inline constexpr sContentName kLargeCargo{ContentKind_ImageList, "HaulerDeliveryItems_Large",
                                          HaulersDeliveryType_Count};
inline constexpr sContentName kLargeRollover{ContentKind_ImageList, "HaulerDeliveryItems_Large_rollover",
                                             HaulersDeliveryType_Count};

// The train's carts stand and drive off left; the lead cart's and the others' sprite types.
inline constexpr const char* kIdleLeft = "Idle-Left";
inline constexpr const char* kDriveLeft = "Drive-Left";
inline constexpr const char* kCartAnimations[] = {kIdleLeft, kDriveLeft};
inline constexpr sContentName kTruckSprite{ContentKind_SpriteType, "Hauler_SpriteType", 0, kAnyContentCount,
                                           kCartAnimations};
inline constexpr sContentName kCartSprite{ContentKind_SpriteType, "HD_Cart_SpriteType", 0, kAnyContentCount,
                                          kCartAnimations};
// The hoist droops at a wrong load and cheers at the end.
inline constexpr const char* kHoistSad = "Sad";
inline constexpr const char* kHoistHappy = "Happy";
inline constexpr const char* kHoistAnimations[] = {kHoistSad, kHoistHappy};
inline constexpr sContentName kHoistSprite{ContentKind_SpriteType, "HD_Hoist_SpriteType", 0, kAnyContentCount,
                                           kHoistAnimations};

inline constexpr sContentName kMusic{ContentKind_Sound, "Music_Track1"};
inline constexpr sContentName kFirstHint{ContentKind_Voice, "InGameHint_HaulersDelivery_1"};
inline constexpr sContentName kGameComplete{ContentKind_Voice, "HaulersDelivery_GameComplete"};
inline constexpr sContentName kWrongColor{ContentKind_Voice, "HaulersDelivery_WrongColor"};
inline constexpr sContentName kWrongType{ContentKind_Voice, "HaulersDelivery_WrongType"};
inline constexpr sContentName kWrong{ContentKind_Voice, "HaulersDelivery_Wrong"};
inline constexpr sContentName kHoistVoice{ContentKind_Voice, "VO_Hoist_IThinkSo"};
inline constexpr sContentName kHorn{ContentKind_Sound, "SFX_HaulerHorn"};
inline constexpr sContentName kMoveLong{ContentKind_Sound, "SFX_HaulerMoveLong"};
inline constexpr sContentName kHoistArm{ContentKind_Sound, "SFX_HoistArm"};
inline constexpr sContentName kToolbox{ContentKind_Sound, "SFX_Toolbox"};
inline constexpr sContentName kBrickDrop{ContentKind_Sound, "SFX_BrickDrop"};
inline constexpr sContentName kRollover{ContentKind_Sound, "SFX_ObjectRollover"};
inline constexpr sContentName kClick{ContentKind_Sound, "SFX_GeneralClick"};

// Every name above, written by the build from this header.
const sDeclaredContent& Declared();

} // namespace Yardcrew::HaulersDeliveryContent
