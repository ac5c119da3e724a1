#include "game/GameModeTypes.h"

namespace Yardcrew
{

const char* const kGameModeDifficultyNames[GameModeDifficulty_Count] = {"Easy", "Medium", "Hard"};

} // namespace Yardcrew
