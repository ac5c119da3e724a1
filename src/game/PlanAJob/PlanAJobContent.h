#pragma once

// Every resource name the job-order game's code asks for, declared once: the code reads each name from
// here and the content check reads the list. A level names its own pictures and building animation
// (PlanAJobLevel.h); the shipped levels' are checked with the levels.

#include "game/ContentNames.h"
#include "game/PlanAJob/PlanAJobLevel.h"

#include <span>
#include <vector>

namespace Yardcrew::PlanAJobContent
{

inline constexpr sContentName kModeLayout{ContentKind_SceneLayout, "PlanAJobModeLayout"};
inline constexpr sContentName kItemLayout{ContentKind_SceneLayout, "JobSequenceItemLayout"};
inline constexpr sContentName kSlotLayout{ContentKind_SceneLayout, "JobSequenceSlotLayout"};
// The empty place of each step.
inline constexpr sContentName kEmptyPlaces{ContentKind_ImageList, "BluePrintTargetImages", kPlanAJobSteps};

inline constexpr sContentName kCursor{ContentKind_Image, "cursor_hand"};
inline constexpr sContentName kCursorHotSpot{ContentKind_Constant, "HandCursorRegPt"};
inline constexpr sContentName kBlueprintIn{ContentKind_Constant, "BluePrintsFinalPosition"};
inline constexpr sContentName kBlueprintOut{ContentKind_Constant, "BluePrintsOffScreenPosition"};
inline constexpr sContentName kBlueprintMoveTime{ContentKind_Constant, "BlueprintsMoveTime"};

// The building animation's, in every level's sprite type.
inline constexpr const char* kWaitAnimation = "WaitAnim";
inline constexpr const char* kBuildAnimation = "BuildAnim";
inline constexpr const char* kBuildingAnimations[] = {kWaitAnimation, kBuildAnimation};
// The element of a level in the game's manifest.
inline constexpr const wchar_t* kLevelTag = L"PlanAJobLevel";

inline constexpr sContentName kMusic{ContentKind_Sound, "Music_Track4"};
inline constexpr sContentName kFirstHint{ContentKind_Voice, "InGameHint_PlanAJob_1"};
inline constexpr sContentName kLaterHint{ContentKind_Voice, "InGameHint_PlanAJob_2"};
inline constexpr sContentName kGameComplete{ContentKind_Voice, "PlanAJob_GameComplete"};
inline constexpr sContentName kIncorrect{ContentKind_Voice, "PlanAJob_IncorrectAnswer"};
inline constexpr sContentName kCorrect{ContentKind_RandomSound, "General_CorrectAnswer", 1};
inline constexpr sContentName kRollover{ContentKind_Sound, "SFX_ObjectRollover"};
inline constexpr sContentName kStick{ContentKind_Sound, "SFX_ObjectStick"};
inline constexpr sContentName kConstruction{ContentKind_Sound, "SFX_Construction"};

// Every name above, written by the build from this header.
const sDeclaredContent& Declared();
// What a level names: its offered and placed pictures, a frame per step, and its building. The names
// point into the level, which must outlive them.
std::vector<sContentName> LevelNames(const PlanAJobLevel& level);

} // namespace Yardcrew::PlanAJobContent
