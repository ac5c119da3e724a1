#pragma once

// The jigsaw game's description for the mini-game base and its registration, said once.

namespace Yardcrew
{

struct sMiniGameDescription;

const sMiniGameDescription& SproutPuzzleDescription();
// Registers the game (GameRegistry.h).
void RegisterSproutPuzzle();

} // namespace Yardcrew
