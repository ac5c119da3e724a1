#pragma once

// The counting game's registration: what the rest of the program needs of it, said once.

namespace Yardcrew
{

struct sMiniGameDescription;

// What the mini-game base reads for the counting mode.
const sMiniGameDescription& CountTheMaterialsDescription();
// Registers the game (game/GameRegistry.h); RegisterGames calls it.
void RegisterCountTheMaterials();

} // namespace Yardcrew
