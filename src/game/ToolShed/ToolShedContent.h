#pragma once

// Every resource name the tool-shed game's code asks for, declared once: the code reads each name from
// here and the content check reads the list.

#include "game/ContentNames.h"
#include "game/ToolShed/ToolShedLevel.h"

#include <span>

namespace Yardcrew::ToolShedContent
{

inline constexpr sContentName kModeLayout{ContentKind_SceneLayout, "ToolShedModeLayout"};
inline constexpr sContentName kItemLayout{ContentKind_SceneLayout, "ToolShedItemLayout"};
inline constexpr sContentName kBoxLayout{ContentKind_SceneLayout, "ToolShedToolBoxLayout"};

inline constexpr sContentName kCursor{ContentKind_Image, "cursor_hand"};
inline constexpr sContentName kCursorHotSpot{ContentKind_Constant, "HandCursorRegPt"};
// A tool is the sprite type of its kind (the shared table) showing the animation of its colour's name.
// One glow per kind, behind the tool while the pointer is on it.
inline constexpr sContentName kToolRollover{ContentKind_ImageList, "ToolShedTool_Rollover", ToolShedToolType_Count,
                                            ToolShedToolType_Count};
// A box's back and front: one frame per colour, then the plain box of a shed sorted by kind.
inline constexpr int kPlainBoxFrame = ToolShedToolColor_Count;
inline constexpr sContentName kBoxBack{ContentKind_ImageList, "ToolShedBox_Back", kPlainBoxFrame + 1,
                                       kPlainBoxFrame + 1};
inline constexpr sContentName kBoxFront{ContentKind_ImageList, "ToolShedBox_Front", kPlainBoxFrame + 1,
                                        kPlainBoxFrame + 1};
// The sign on a box that takes one kind: one frame per kind.
inline constexpr sContentName kBoxSign{ContentKind_ImageList, "ToolShedBox_Sign", ToolShedToolType_Count,
                                       ToolShedToolType_Count};

// Where the tools are thrown up from (on the screen), the pause between two throws, one flight, and
// the way back of a tool put down on no box or a wrong one (seconds).
inline constexpr sContentName kThrowFrom{ContentKind_Constant, "ToolShed_ThrowFrom"};
inline constexpr sContentName kThrowInterval{ContentKind_Constant, "ToolShed_ThrowInterval"};
inline constexpr sContentName kFlightTime{ContentKind_Constant, "ToolShed_FlightTime"};
inline constexpr sContentName kReturnTime{ContentKind_Constant, "ToolShed_ReturnTime"};
// Where the n-th tool put in a box stands inside it, one place for each tool a level may hold.
inline constexpr sContentName kBoxToolOffsets{ContentKind_Constant, "ToolShed_BoxToolOffsets", kToolShedMaxTools};

inline constexpr sContentName kMusic{ContentKind_Sound, "Ambient_Indoor"};
inline constexpr sContentName kFirstHint{ContentKind_Voice, "InGameHint_ToolShed_1"};
inline constexpr sContentName kLaterHint{ContentKind_Voice, "InGameHint_ToolShed_2"};
inline constexpr sContentName kGameComplete{ContentKind_Voice, "ToolShed_GameComplete"};
inline constexpr sContentName kWrongBox{ContentKind_Voice, "ToolShed_WrongBox"};
inline constexpr sContentName kRollover{ContentKind_Sound, "SFX_ObjectRollover"};
inline constexpr sContentName kPickUp{ContentKind_Sound, "SFX_ObjectStick"};
inline constexpr sContentName kIntoBox{ContentKind_Sound, "SFX_Toolbox"};
inline constexpr sContentName kThrow{ContentKind_Sound, "SFX_Whoosh"};
inline constexpr sContentName kLand{ContentKind_Sound, "SFX_ToolShedLand"};

// Every name above, written by the build from this header.
const sDeclaredContent& Declared();
// The names above and every tool's sprite type.
std::span<const sContentName> List();

} // namespace Yardcrew::ToolShedContent
