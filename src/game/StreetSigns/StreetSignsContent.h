#pragma once

// Every resource name the street-signs game's code asks for, declared once: the code reads each name
// from here and the content check reads the list.

#include "game/ContentNames.h"
#include "game/StreetSigns/StreetSignLevel.h"

#include <span>
#include <string>

namespace Yardcrew::StreetSignsContent
{

inline constexpr sContentName kModeLayout{ContentKind_SceneLayout, "StreetSignsModeLayout"};
inline constexpr sContentName kSignLayout{ContentKind_SceneLayout, "StreetSignLayout"};

inline constexpr sContentName kCursor{ContentKind_Image, "cursor_default"};
inline constexpr sContentName kCursorHotSpot{ContentKind_Constant, "DefaultCursorRegPt"};
// Pixels between the middles of two neighbouring signs by the road.
inline constexpr sContentName kSignSpacing{ContentKind_Constant, "StreetSigns_SignSpacing"};

// What the driver's bubble shows: the colours, then the shapes, in table order.
inline constexpr int kAskPictureCount = int{StreetSignColor_Count} + int{StreetSignShape_Count};
inline constexpr sContentName kAskPictures{ContentKind_ImageList, "StreetSigns_AskPictures", kAskPictureCount,
                                           kAskPictureCount};

inline constexpr sContentName kMusic{ContentKind_Sound, "Ambient_Outdoor_2"};
inline constexpr sContentName kFirstHint{ContentKind_Voice, "InGameHint_Signs_1"};
inline constexpr sContentName kTruckFull{ContentKind_Voice, "StreetSigns_TruckFull"};
inline constexpr sContentName kDriveIn{ContentKind_Sound, "SFX_HaulerMoveLong"};
inline constexpr sContentName kHorn{ContentKind_Sound, "SFX_HaulerHorn"};
inline constexpr sContentName kLift{ContentKind_Sound, "SFX_HoistArm"};
inline constexpr sContentName kLand{ContentKind_Sound, "SFX_SignLand"};
inline constexpr sContentName kWobble{ContentKind_Sound, "SFX_SignWobble"};
inline constexpr sContentName kRollover{ContentKind_Sound, "SFX_ObjectRollover"};

// The sign sprite types are kStreetSignSpriteTypes, one per shape, with one still animation per colour
// named as in kStreetSignColorNames. The truck's sprite type plays "Idle" and "Drive".
inline constexpr const char* kTruckIdle = "Idle";
inline constexpr const char* kTruckDrive = "Drive";
inline constexpr const char* kTruckAnimations[] = {kTruckIdle, kTruckDrive};
inline constexpr sContentName kTruckSprite{ContentKind_SpriteType, "StreetSigns_Truck", 0, kAnyContentCount,
                                           kTruckAnimations};

// The foreman's ask for a trait: "StreetSigns_Ask" and the colour's or the shape's table name, a whole
// sentence in each language so that each keeps its own word order and agreement.
inline constexpr const char* kAskPrefix = "StreetSigns_Ask";
std::string AskVoice(const sStreetSignAsk& ask);
// The ask's frame of kAskPictures; -1 for no ask.
int AskPicture(const sStreetSignAsk& ask);

// Every name above, written by the build from this header.
const sDeclaredContent& Declared();
// The names above and the ones built from the game's tables.
std::span<const sContentName> List();

} // namespace Yardcrew::StreetSignsContent
