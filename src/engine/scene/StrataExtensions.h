#pragma once

namespace Strata
{

// Makes the scene graph usable: registers the "spriteanimationlist", "spritetype", "scenelayout" and
// "randomrange" resource factories with the resource manager (creating the manager if need be) and one
// node factory per node tag.
// Call on the main thread before queuing a manifest that holds scene layouts. Calling it again
// replaces the factories; layouts already read keep theirs.
void SetupStrataExtensions();

} // namespace Strata
