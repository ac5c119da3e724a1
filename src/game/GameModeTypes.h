#pragma once

// How levels are filed: one value per mini-game and one per difficulty.

#include <cstdint>

namespace Yardcrew
{

enum GameModeType : int32_t
{
    GameModeType_ToolShed = 0,
    GameModeType_StreetSigns = 1,
    GameModeType_PlanAJob = 2,
    GameModeType_PaintIt = 3,
    GameModeType_HoistStacker = 4,
    GameModeType_HammerTheNail = 5,
    GameModeType_CountTheMaterials = 6,
    GameModeType_HaulersDelivery = 7,
    GameModeType_PileOfLeaves = 8,
    GameModeType_SproutPuzzle = 9,
    GameModeType_HideAndSeek = 10,
    GameModeType_HereToThere = 11,
    GameModeType_Count
};

// A level description's "difficulty" attribute is looked up in kGameModeDifficultyNames; its position
// is the difficulty the level is filed under.
enum GameModeDifficulty : int32_t
{
    GameModeDifficulty_None = -1,
    GameModeDifficulty_Easy = 0,
    GameModeDifficulty_Medium = 1,
    GameModeDifficulty_Hard = 2,
    GameModeDifficulty_Count
};

extern const char* const kGameModeDifficultyNames[GameModeDifficulty_Count];

} // namespace Yardcrew
