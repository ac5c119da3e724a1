#pragma once

#include "scene/NodePath.h"

namespace Strata
{
class SceneNode;
}

namespace Yardcrew
{

class LevelManager;

// Registers the sticker reward, free-play chooser and quit confirmation with the level manager,
// keeping the screens others registered.
void RegisterPlayFlowScreens(LevelManager& levels);

// "_EN", or "_SP" when the current profile plays in Spanish.
const char* PlayFlowLanguageSuffix();
// Gives the picture or button at `path` below `root` the image (or image list) `base` followed by the
// language suffix, so words show in the profile's language. A missing node is skipped; a missing
// image is reported by the node's own lookup.
void ShowLocalizedImage(Strata::SceneNode* root, Strata::NodePath path, const char* base);

} // namespace Yardcrew
