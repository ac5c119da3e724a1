#pragma once

namespace Yardcrew
{

class LevelManager;

// Registers the sticker reward, free-play chooser and quit confirmation with the level manager,
// keeping the screens others registered.
void RegisterPlayFlowScreens(LevelManager& levels);

} // namespace Yardcrew
