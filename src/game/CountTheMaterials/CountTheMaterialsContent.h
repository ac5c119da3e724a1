#pragma once

// Every resource name the counting game's code asks for, declared once: the code reads each name from
// here and the content check reads the list.

#include "game/AudioContent.h"
#include "game/ContentNames.h"
#include "game/CountTheMaterials/CountTheMaterialsLevel.h"

#include <span>

namespace Yardcrew::CountTheMaterialsContent
{

inline constexpr sContentName kModeLayout{ContentKind_SceneLayout, "CountTheMaterialModeLayout"};
inline constexpr sContentName kPileLayout{ContentKind_SceneLayout, "MaterialSourceLayout"};
inline constexpr sContentName kTipperLayout{ContentKind_SceneLayout, "MaterialTargetLayout"};
inline constexpr sContentName kFarTipperLayout{ContentKind_SceneLayout, "TipperBGLayout"};
inline constexpr sContentName kDiggerLayout{ContentKind_SceneLayout, "MaterialLoaderLayout"};

inline constexpr sContentName kCursor{ContentKind_Image, "cursor_hand"};
inline constexpr sContentName kCursorHotSpot{ContentKind_Constant, "HandCursorRegPt"};
// One frame per material.

inline constexpr sContentName kMusic{ContentKind_Sound, "Music_Track2"};
inline constexpr sContentName kFirstHint{ContentKind_Voice, "InGameHint_CountTheMaterials"};
inline constexpr sContentName kWrongKind{ContentKind_Voice, "CTM_IncorrectAnswer"};
inline constexpr sContentName kTooFew{ContentKind_Voice, "CTM_NotEnough"};
inline constexpr sContentName kTooMany{ContentKind_Voice, "CTM_TooMuch"};
inline constexpr sContentName kDiggerPraise{ContentKind_Voice, "CTM_DiggerNoProb"};
// One large item per material, for the request box.
inline constexpr sContentName kRequestItems{ContentKind_ImageList, "CTM_RequestItems", 13, 13};
// The request's words, one entry per material in each; a request for more than one says its number
// first (General_NumberWords, an entry per count from 2 to the most a pile holds).
inline constexpr sContentName kRequestOne{ContentKind_SoundList, AudioContent::kRequestWordsOne, 13, 13,
                                          kBuildingMaterialNames};
inline constexpr sContentName kRequestMany{ContentKind_SoundList, AudioContent::kRequestWordsMany, 13, 13,
                                           kBuildingMaterialNames};
inline constexpr sContentName kDiggerAsks{ContentKind_Voice, "VO_Digger_AreWeReady"};
inline constexpr sContentName kTipperFinished{ContentKind_Sound, "CTM_TipperFinished"};
inline constexpr sContentName kTipperMove{ContentKind_Sound, "SFX_TipperMove"};
inline constexpr sContentName kDiggerMove{ContentKind_Sound, "SFX_DiggerMove"};
inline constexpr sContentName kBrickDrop{ContentKind_Sound, "SFX_BrickDrop"};
inline constexpr sContentName kRollover{ContentKind_Sound, "SFX_ObjectRollover"};
inline constexpr sContentName kSelect{ContentKind_Sound, "SFX_SelectItem"};

// The machines' sprite types, with the animations the code starts.
inline constexpr const char* kIdleLeft = "Idle-Left";
inline constexpr const char* kDriveLeft = "Drive-Left";
inline constexpr const char* kIdleRight = "Idle-Right";
inline constexpr const char* kDriveRightDown = "Drive-Right-Down";
inline constexpr const char* kDriveRightUp = "Drive-Right-Up";
inline constexpr const char* kDriveLeftUp = "Drive-Left-Up";
inline constexpr const char* kReverseRightDown = "Drive-Right-Down-Reverse";
inline constexpr const char* kTipperAnimations[] = {kIdleLeft, kDriveLeft};
inline constexpr const char* kDiggerAnimations[] = {kIdleRight, kDriveRightDown, kDriveRightUp, kDriveLeftUp,
                                                    kReverseRightDown};
inline constexpr const char* kShovelAnimations[] = {kDriveRightUp, kDriveLeftUp};
inline constexpr sContentName kTipperSprite{ContentKind_SpriteType, "CTM_Tipper", 0, kAnyContentCount,
                                            kTipperAnimations};
inline constexpr sContentName kDiggerSprite{ContentKind_SpriteType, "CTM_Digger", 0, kAnyContentCount,
                                            kDiggerAnimations};
inline constexpr sContentName kShovelSprite{ContentKind_SpriteType, "CTM_Shovel", 0, kAnyContentCount,
                                            kShovelAnimations};

inline constexpr sContentName kTipperStart{ContentKind_Constant, "TipperStartPosition"};
inline constexpr sContentName kTipperRoadIn{ContentKind_Constant, "TipperForegroundDriveOnPath", 1};
inline constexpr sContentName kTipperRoadOut{ContentKind_Constant, "TipperForegroundDriveOffPath", 1};
inline constexpr sContentName kTipperSpeed{ContentKind_Constant, "TipperForegroundDrivingSpeed"};
inline constexpr sContentName kFarTipperStart{ContentKind_Constant, "TipperBGStartPos"};
inline constexpr sContentName kFarTipperRoad{ContentKind_Constant, "TipperBackgroundDrivePath", 1};
inline constexpr sContentName kFarTipperSpeed{ContentKind_Constant, "TipperBackgroundDrivingSpeed"};
inline constexpr sContentName kPickupOffset{ContentKind_Constant, "MaterialPickupOffset"};
inline constexpr sContentName kDiggerStart{ContentKind_Constant, "DiggerOffScreenPosition_Left"};
inline constexpr sContentName kDiggerIdle{ContentKind_Constant, "DiggerIdlePosition"};
inline constexpr sContentName kDiggerExit{ContentKind_Constant, "DiggerOffScreenPosition_Right"};
inline constexpr sContentName kDiggerRoadEnter{ContentKind_Constant, "DiggerDeliveryRoadEnterPosition"};
inline constexpr sContentName kDiggerRoadIn{ContentKind_Constant, "DiggerForegroundDriveOnPath", 1};
inline constexpr sContentName kDiggerRoadOut{ContentKind_Constant, "DiggerForegroundDriveOffPath", 1};

// Every name above, written by the build from this header.
const sDeclaredContent& Declared();
// The names above and every material's count and rollover image lists.
std::span<const sContentName> List();

} // namespace Yardcrew::CountTheMaterialsContent
