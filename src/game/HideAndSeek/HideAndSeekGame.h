#pragma once

// The hide-and-seek game's registration: what the rest of the program needs of it, said once.

#include "game/GameModeTypes.h"
#include "scene/NodePath.h"

namespace Yardcrew
{

struct sMiniGameDescription;

// What the mini-game base reads for the hide-and-seek mode.
const sMiniGameDescription& HideAndSeekDescription();
// From the scene root: the layer whose children are the obstacle slots of that difficulty's
// arrangement (the cat runs in it too); empty for a difficulty out of range.
Strata::NodePath HideAndSeekLayerPath(GameModeDifficulty difficulty);
// Registers the game (game/GameRegistry.h); RegisterGames calls it.
void RegisterHideAndSeek();

} // namespace Yardcrew
