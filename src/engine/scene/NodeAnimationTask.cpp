#include "scene/NodeAnimationTask.h"

#include "scene/SpriteNodes.h"

#include "core/RuntimeError.h"

#include <string>

namespace Strata
{

NodeAnimationTask::NodeAnimationTask(Label name, NodeAnimationTaskCompletion completion)
    : mName(name), mCompletion(completion)
{
}

Task* NodeAnimationTask::Clone() const
{
    return new NodeAnimationTask(mName, mCompletion);
}

sTaskStatus NodeAnimationTask::Update(Object* object, float dt)
{
    auto* node = dynamic_cast<AnimatedSpriteNode*>(object);
    if (!node)
        STRATA_THROW(RuntimeError, std::string("NodeAnimationTask applied to a non-AnimatedSpriteNode object"));
    if (!mStarted)
    {
        node->SetAnimation(mName, false);
        mStarted = true;
    }
    mElapsed += dt;
    if (mCompletion == NodeAnimationTaskCompletion_Immediate)
        return Complete;
    if (node->IsAnimationPlaying(mName))
        return Incomplete;
    // The animation ended at some moment since the task started. Within the first update the time
    // so far is all this step's; later, the whole step counts as used (never more than the step
    // had), so what follows in a chain starts at the next update.
    return mElapsed > dt ? Complete : CompletedAfter(mElapsed);
}

} // namespace Strata
