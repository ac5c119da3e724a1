#pragma once

// The tool-shed game's description for the mini-game base and its registration, said once.

namespace Yardcrew
{

struct sMiniGameDescription;

const sMiniGameDescription& ToolShedDescription();
// Registers the game (GameRegistry.h).
void RegisterToolShed();

} // namespace Yardcrew
