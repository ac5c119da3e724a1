#pragma once

// The names the mini-game base asks for in every game: the default cursor, the run lengths, and the
// hints and music of each game that is built.

#include "game/ContentNames.h"

#include <vector>

namespace Yardcrew
{

struct sGameRegistration;

namespace MiniGameContent
{

inline constexpr sContentName kDefaultCursor{ContentKind_Image, "cursor_default"};
inline constexpr sContentName kDefaultCursorHotSpot{ContentKind_Constant, "DefaultCursorRegPt"};
// One entry per difficulty.
inline constexpr sContentName kRepeatedGameNumLoops{ContentKind_Constant, "RepeatedGameNumLoops", 3, 3};

} // namespace MiniGameContent

// Registers the base's list under "MiniGameBase": the names above, then the spoken hints and the
// track of every game that has a mode (the others never ask for theirs), and every game's entry of the
// spoken descriptions. Called once by RegisterGames.
void RegisterMiniGameBaseContent(const std::vector<sGameRegistration>& games);

} // namespace Yardcrew
