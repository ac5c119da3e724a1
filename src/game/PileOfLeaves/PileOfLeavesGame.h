#pragma once

// The tool-finding game's registration: what the rest of the program needs of it, said once.

namespace Yardcrew
{

struct sMiniGameDescription;

// What the mini-game base reads for the tool-finding mode.
const sMiniGameDescription& PileOfLeavesDescription();
// Registers the game (game/GameRegistry.h); RegisterGames calls it.
void RegisterPileOfLeaves();

} // namespace Yardcrew
