#pragma once

// Every resource name the audio manager asks for, declared once: the manager reads each name from here
// and the content check reads the list. A word list is a sound list keyed by a shared name table's
// words; the games that ask for entries built at run time list those entries with their own names.

#include "game/ContentNames.h"
#include "game/YardcrewNames.h"

#include <span>
#include <string>

namespace Yardcrew::AudioContent
{

inline constexpr sContentName kCorrectAnswer{ContentKind_RandomSound, "General_CorrectAnswer", 1};
inline constexpr sContentName kIncorrectAnswer{ContentKind_RandomSound, "General_IncorrectAnswer", 1};
inline constexpr sContentName kGeneralUIMusic{ContentKind_Sound, "Music_GeneralUI"};
inline constexpr sContentName kTitleMusic{ContentKind_Sound, "Music_TitleTheme"};

inline constexpr sContentName kColorWords{ContentKind_Voice, "General_ColorWords", 0, kAnyContentCount,
                                          kYardcrewColorNames};
inline constexpr sContentName kShapeWords{ContentKind_Voice, "General_ShapeWords", 0, kAnyContentCount,
                                          kYardcrewShapeNames};
inline constexpr sContentName kToolWords{ContentKind_Voice, "General_ToolWords", 0, kAnyContentCount,
                                         kYardcrewToolNames};
inline constexpr sContentName kMaterialWordsOne{ContentKind_Voice, "General_MaterialWords_Singular", 0,
                                                kAnyContentCount, kYardcrewMaterialNames};
inline constexpr sContentName kMaterialWordsMany{ContentKind_Voice, "General_MaterialWords_Plural", 0, kAnyContentCount,
                                                 kYardcrewMaterialNames};
// Keyed by ColoredToolEntry.
inline constexpr const char* kColoredToolWords = "General_ColoredToolWords";
// Keyed by NumberEntry.
inline constexpr const char* kNumberWords = "General_NumberWords";
// Keyed by the counting game's material names, for one and for more.
inline constexpr const char* kRequestWordsOne = "General_RequestWords_Singular";
inline constexpr const char* kRequestWordsMany = "General_RequestWords_Plural";
// Keyed by the game's label.
inline constexpr const char* kGameDescriptions = "GameDescriptions";

// "<colour>_<tool>", as "Red_Hammer".
std::string ColoredToolEntry(YardcrewColor color, YardcrewTool tool);
// The number in digits, as "12".
std::string NumberEntry(int number);

std::span<const sContentName> List();

} // namespace Yardcrew::AudioContent
