#pragma once

// Every resource name the hammering game's code asks for, declared once: the code reads each name from
// here and the content check reads the list.

#include "game/ContentNames.h"
#include "game/HammerTheNail/HammerTheNailLevel.h"

#include <span>

namespace Yardcrew::HammerTheNailContent
{

inline constexpr sContentName kModeLayout{ContentKind_SceneLayout, "HammerTheNailModeLayout"};
inline constexpr sContentName kToolLayout{ContentKind_SceneLayout, "ToolLayout"};
inline constexpr sContentName kFloatingToolLayout{ContentKind_SceneLayout, "FloatingToolLayout"};
inline constexpr sContentName kNailLayout{ContentKind_SceneLayout, "NailLayout"};

inline constexpr sContentName kCursor{ContentKind_Image, "cursor_hand"};
inline constexpr sContentName kCursorHotSpot{ContentKind_Constant, "HandCursorRegPt"};
// The tool in the box: "FixIt_Tool_InBox_" and the tool's name, one frame per colour.
inline constexpr const char* kToolInBoxPrefix = "FixIt_Tool_InBox_";
// One frame per tool type.
inline constexpr sContentName kToolRollover{ContentKind_ImageList, "FixIt_Tool_InBox_rollover", FixItToolType_Count};
// One frame per colour.
inline constexpr sContentName kWrenchInHand{ContentKind_ImageList, "FixIt_Tool_InHand_Wrench", FixItToolColor_Count};
// A screwdriver in hand: "SpriteType_" + tool + "_" + colour, with these animations.
inline constexpr const char* kDriverSpritePrefix = "SpriteType_";
inline constexpr const char* kDriverNormal = "Normal";
inline constexpr const char* kDriverRotate = "Rotate";
inline constexpr const char* kDriverAnimations[] = {kDriverNormal, kDriverRotate};
// A nail: "FixIt_Nail_" + tool + "_" + colour, frame k shown while k strokes are left.
inline constexpr const char* kNailPrefix = "FixIt_Nail_";

inline constexpr sContentName kSpinTime{ContentKind_Constant, "FixIt_ToolSpinTime"};
// Indexed by the strokes left before a stroke, 1 to the most a level may ask.
inline constexpr sContentName kWrenchOffset{ContentKind_Constant, "WrenchToolAttachOffset",
                                            kHammerTheNailMaxStrokes + 1};
// The points the wrench sprite passes through while it turns.
inline constexpr sContentName kWrenchCounterRotationPath{ContentKind_Constant, "WrenchCounterRotationPath", 1};
inline constexpr sContentName kScrewOffset{ContentKind_Constant, "ScrewToolAttachOffset", kHammerTheNailMaxStrokes + 1};

inline constexpr sContentName kMusic{ContentKind_Sound, "Ambient_Indoor"};
inline constexpr sContentName kFirstHint{ContentKind_Voice, "InGameHint_FixIt_1"};
inline constexpr sContentName kLaterHint{ContentKind_Voice, "InGameHint_FixIt_2"};
inline constexpr sContentName kGameComplete{ContentKind_Voice, "FixIt_GameComplete"};
inline constexpr sContentName kNailComplete{ContentKind_Voice, "FixIt_NailComplete"};
inline constexpr sContentName kClickAgain{ContentKind_Voice, "FixIt_ClickAgain"};
inline constexpr sContentName kWrongTool{ContentKind_Voice, "FixIt_WrongTool"};
inline constexpr sContentName kRollover{ContentKind_Sound, "SFX_ObjectRollover"};
inline constexpr sContentName kStick{ContentKind_Sound, "SFX_ObjectStick"};
inline constexpr sContentName kScrew{ContentKind_Sound, "SFX_Screw"};
inline constexpr sContentName kToolbox{ContentKind_Sound, "SFX_Toolbox"};

// Every name above, written by the build from this header.
const sDeclaredContent& Declared();
// The names above and every tool's and nail's image lists and sprite types.
std::span<const sContentName> List();

} // namespace Yardcrew::HammerTheNailContent
