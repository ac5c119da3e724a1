#pragma once

// The delivery game's registration: what the rest of the program needs of it, said once.

namespace Yardcrew
{

struct sMiniGameDescription;

// What the mini-game base reads for the delivery mode.
const sMiniGameDescription& HereToThereDescription();
// Registers the game (game/GameRegistry.h); RegisterGames calls it.
void RegisterHereToThere();

} // namespace Yardcrew
