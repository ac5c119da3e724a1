#pragma once

// The hide-and-seek game's registration: what the rest of the program needs of it, said once.

namespace Yardcrew
{

struct sMiniGameDescription;

// What the mini-game base reads for the hide-and-seek mode.
const sMiniGameDescription& HideAndSeekDescription();
// Registers the game (game/GameRegistry.h); RegisterGames calls it.
void RegisterHideAndSeek();

} // namespace Yardcrew
