#pragma once

// The stacking game's registration: what the rest of the program needs of it, said once.

namespace Yardcrew
{

struct sMiniGameDescription;

// What the mini-game base reads for the stacking mode.
const sMiniGameDescription& HoistStackerDescription();
// Registers the game (game/GameRegistry.h); RegisterGames calls it.
void RegisterHoistStacker();

} // namespace Yardcrew
