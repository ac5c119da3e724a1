#pragma once

namespace Strata
{

// Makes the scene graph usable: registers the "scenelayout" resource factory with the resource
// manager (creating the manager if need be) and the node factories of "sceneref" and "scenenode".
// Call on the main thread before queuing a manifest that holds scene layouts. Calling it again
// replaces the factories; layouts already read keep theirs.
void SetupStrataExtensions();

} // namespace Strata
