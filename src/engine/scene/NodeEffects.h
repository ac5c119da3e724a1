#pragma once

#include "framework/Task.h"

#include <memory>

namespace Strata
{

// Ready-made feedback that every mini-game uses alike. Each call returns a new task tree, meant for
// Object::AddTask on a SceneNode (on any other object its first step throws).

// Snaps the node to scale 1, rocks it to -10, +10, -10 and +10 degrees and settles it upright:
// 0.4 seconds in all.
std::unique_ptr<Task> getNodeErrorShakeTask();
// Pops the node to 110 per cent for 0.1 seconds, then back to scale 1.
std::unique_ptr<Task> getNodeItemPickUpAnimTask();

} // namespace Strata
