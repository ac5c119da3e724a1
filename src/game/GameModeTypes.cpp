#include "game/GameModeTypes.h"

const char* const kGameModeDifficultyNames[GameModeDifficulty_Count] = {"Easy", "Medium", "Hard"};
