#pragma once

// The hammering game's description for the mini-game base and its registration, said once.

namespace Yardcrew
{

struct sMiniGameDescription;

const sMiniGameDescription& HammerTheNailDescription();
// Registers the game (GameRegistry.h).
void RegisterHammerTheNail();

} // namespace Yardcrew
