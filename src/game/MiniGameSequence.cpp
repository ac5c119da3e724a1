#include "game/MiniGameSequence.h"

#include "framework/CuePoint.h"
#include "framework/Object.h"
#include "game/SimpleFunctionTask.h"
#include "scene/NodePropertyTasks.h"
#include "scene/SceneNode.h"

#include <algorithm>
#include <utility>

void MiniGameSequence::Join(Strata::Object& object)
{
    if (std::find(mChains.begin(), mChains.end(), &object) == mChains.end())
        mChains.push_back(&object);
}

MiniGameSequence& MiniGameSequence::Then(Strata::Object& object, Strata::Task* task)
{
    if (task == nullptr)
        return *this;
    Join(object);
    object.AddTask(task);
    return *this;
}

MiniGameSequence& MiniGameSequence::Call(Strata::Object& object, std::function<void()> call)
{
    return Then(object, new SimpleFunctionTask<Strata::Object>(
                            [call = std::move(call)](Strata::Object*, float)
                            {
                                if (call)
                                    call();
                            }));
}

MiniGameSequence& MiniGameSequence::Sync()
{
    if (mChains.size() < 2)
        return *this;
    // Every task registers before any update runs, so no chain can pass before the last one is queued.
    Strata::CuePoint* cue = Strata::CuePoint::Create();
    for (Strata::Object* chain : mChains)
        chain->AddTask(new Strata::CuePointTask(cue));
    return *this;
}

MiniGameSequence& MiniGameSequence::Show(Strata::SceneNode& node, bool visible)
{
    return Then(node, new Strata::NodeVisibleTask(visible));
}
