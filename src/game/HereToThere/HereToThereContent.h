#pragma once

// Every resource name the delivery game's code asks for, declared once: the code reads each name from
// here and the content check reads the list.

#include "game/ContentNames.h"

#include <span>

namespace Yardcrew::HereToThereContent
{

inline constexpr sContentName kModeLayout{ContentKind_SceneLayout, "HereToThereModeLayout"};
inline constexpr sContentName kCartLayout{ContentKind_SceneLayout, "HereToThereCartLayout"};
inline constexpr sContentName kAnimalLayout{ContentKind_SceneLayout, "HereToThereObjectLayout"};
inline constexpr sContentName kHouseLayout{ContentKind_SceneLayout, "HereToThereTargetLayout"};
inline constexpr sContentName kDummyHouseLayout{ContentKind_SceneLayout, "HereToThereDummyHouse"};

inline constexpr sContentName kCursor{ContentKind_Image, "cursor_default"};
inline constexpr sContentName kCursorHotSpot{ContentKind_Constant, "DefaultCursorRegPt"};
// Each animal shows one of these at random.
inline constexpr int kNumHereToThereAnimals = 3;
inline constexpr sContentName kAnimals{ContentKind_ImageList, "HereToThere_Animal", kNumHereToThereAnimals};
inline constexpr sContentName kHouses{ContentKind_ImageList, "HereToThere_DeliveryHouses", 1};
// One list per shape, one frame per colour.
inline constexpr sContentName kShapeImages[] = {{ContentKind_ImageList, "HereToThere_Rectangle", 4},
                                                {ContentKind_ImageList, "HereToThere_Circle", 4},
                                                {ContentKind_ImageList, "HereToThere_Triangle", 4},
                                                {ContentKind_ImageList, "HereToThere_Star", 4}};

// The truck stands or drives, facing left.
inline constexpr const char* kTruckIdle = "Idle-Left";
inline constexpr const char* kTruckDrive = "Drive-Left";
inline constexpr const char* kTruckAnimations[] = {kTruckIdle, kTruckDrive};
inline constexpr sContentName kTruckSprite{ContentKind_SpriteType, "HTT_Truck", 0, kAnyContentCount, kTruckAnimations};

inline constexpr sContentName kMusic{ContentKind_Sound, "Music_Track4"};
inline constexpr sContentName kFirstHint{ContentKind_Voice, "InGameHint_HereToThere_1"};
inline constexpr sContentName kLaterHint{ContentKind_Voice, "InGameHint_HereToThere_2"};
inline constexpr sContentName kGameComplete{ContentKind_Voice, "HereToThere_GameComplete"};
inline constexpr sContentName kWrongHouse{ContentKind_Voice, "HereToThere_IncorrectAnswer"};
inline constexpr sContentName kHorn{ContentKind_Sound, "SFX_HaulerHorn"};
inline constexpr sContentName kMoveShort{ContentKind_Sound, "SFX_HaulerMoveShort"};
inline constexpr sContentName kMoveLong{ContentKind_Sound, "SFX_HaulerMoveLong"};
inline constexpr sContentName kRollover{ContentKind_Sound, "SFX_ObjectRollover"};
inline constexpr sContentName kSelect{ContentKind_Sound, "SFX_SelectItem"};

inline constexpr sContentName kStreetSpeed{ContentKind_Constant, "HaulerBackgroundDrivingSpeed"};
inline constexpr sContentName kLoadingSpeed{ContentKind_Constant, "HaulerForegroundDrivingSpeed"};
inline constexpr sContentName kIdle{ContentKind_Constant, "HaulerIdleLocation"};
inline constexpr sContentName kLoadingRowEnd{ContentKind_Constant, "LoadingRowEnd_Left"};
// One entry point per road.
inline constexpr sContentName kRoadEndLeft{ContentKind_Constant, "RoadEnd_Left", 3};
inline constexpr sContentName kRoadEndRight{ContentKind_Constant, "RoadEnd_Right", 3};
inline constexpr sContentName kOffscreenLeft{ContentKind_Constant, "RoadEndX_Left"};
inline constexpr sContentName kOffscreenRight{ContentKind_Constant, "RoadEndX_Right"};

// Every name above, written by the build from this header.
const sDeclaredContent& Declared();

} // namespace Yardcrew::HereToThereContent
