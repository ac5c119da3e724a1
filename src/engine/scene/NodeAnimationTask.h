#pragma once

#include "core/Label.h"
#include "framework/Task.h"

#include <cstdint>

namespace Strata
{

enum NodeAnimationTaskCompletion : uint32_t
{
    // Completes in the update that starts the animation.
    NodeAnimationTaskCompletion_Immediate = 0,
    // Completes once the animation is no longer the node's current one: its plays are used up, its
    // linked animation has taken over, or another animation has been set.
    NodeAnimationTaskCompletion_WhenDone = 1,
};

// Starts a named animation on an AnimatedSpriteNode (without restarting it when it already plays)
// and completes as `completion` says. Run on anything else, Update throws RuntimeError (a std::runtime_error).
class NodeAnimationTask : public Task
{
public:
    NodeAnimationTask(Label name, NodeAnimationTaskCompletion completion);

    Task* Clone() const override;
    sTaskStatus Update(Object* object, float dt) override;

private:
    Label mName;
    NodeAnimationTaskCompletion mCompletion;
    float mElapsed = 0.0f;
    // Not "elapsed is 0": a first update with dt 0 must not start the animation a second time.
    bool mStarted = false;
};

} // namespace Strata
