#pragma once

// Every resource name the jigsaw game's code asks for, declared once: the code reads each name from
// here and the content check reads the list.

#include "game/ContentNames.h"
#include "game/SproutPuzzle/SproutPuzzleLevel.h"

#include <span>
#include <string>

namespace Yardcrew::SproutPuzzleContent
{

inline constexpr sContentName kModeLayout{ContentKind_SceneLayout, "SproutPuzzleModeLayout"};
inline constexpr sContentName kPieceLayout{ContentKind_SceneLayout, "SproutPuzzlePieceLayout"};
inline constexpr sContentName kSlotLayout{ContentKind_SceneLayout, "SproutPuzzlePieceSlotLayout"};

inline constexpr sContentName kCursor{ContentKind_Image, "cursor_hand"};
inline constexpr sContentName kCursorHotSpot{ContentKind_Constant, "HandCursorRegPt"};

inline constexpr sContentName kMusic{ContentKind_Sound, "Music_Track3"};
inline constexpr sContentName kFirstHint{ContentKind_Voice, "InGameHint_Puzzle_1"};
inline constexpr sContentName kLaterHint{ContentKind_Voice, "InGameHint_Puzzle_2"};
inline constexpr sContentName kGameComplete{ContentKind_Voice, "SproutPuzzle_GameComplete"};
inline constexpr sContentName kWrongPlace{ContentKind_Voice, "SproutPuzzle_WrongPlace"};
inline constexpr sContentName kScatter{ContentKind_Sound, "SFX_Whoosh"};
inline constexpr sContentName kPickUp{ContentKind_Sound, "SFX_ObjectStick"};
inline constexpr sContentName kSnap{ContentKind_Sound, "SFX_Pop"};
inline constexpr sContentName kRollover{ContentKind_Sound, "SFX_ObjectRollover"};
inline constexpr sContentName kFinished{ContentKind_Sound, "SFX_Correct"};

// The whole picture, shown faintly on the board: "SproutPuzzle_Picture_" + picture.
std::string PictureImage(const SproutPuzzleLevel& level);
// The pieces, one frame each in row order: "SproutPuzzle_Pieces_" + picture + "_" + cut ("2x2").
std::string PiecesImageList(const SproutPuzzleLevel& level);
// Where the cut runs, drawn over the board: "SproutPuzzle_CutLines_" + cut.
std::string CutLinesImage(const SproutPuzzleLevel& level);

// Every name above, written by the build from this header.
const sDeclaredContent& Declared();
// The names above and every picture's, cut's and pieces' images.
std::span<const sContentName> List();

} // namespace Yardcrew::SproutPuzzleContent
