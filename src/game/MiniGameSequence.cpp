#include "game/MiniGameSequence.h"

#include "framework/CuePoint.h"
#include "framework/Object.h"
#include "game/AudioManager.h"
#include "game/SimpleFunctionTask.h"
#include "scene/NodeAnimationTask.h"
#include "scene/NodePropertyTasks.h"
#include "scene/SceneNode.h"

#include <algorithm>
#include <utility>

namespace Yardcrew
{

void QueueCall(Strata::Object& chain, std::function<void()> call)
{
    chain.AddTask(new SimpleFunctionTask<Strata::Object>(
        [call = std::move(call)](Strata::Object*, float)
        {
            if (call)
                call();
        }));
}

Strata::Task* PlayEffectTask(const char* sound)
{
    const Strata::Label name(sound);
    return new SimpleFunctionTask<Strata::Object>([name](Strata::Object*, float) { GetAudioManager()->playSFX(name); });
}

Strata::Task* StartAnimationTask(const char* animation)
{
    return new Strata::NodeAnimationTask(Strata::Label(animation), Strata::NodeAnimationTaskCompletion_Immediate);
}

namespace
{

void MeetAll(const std::vector<Strata::Object*>& chains)
{
    std::vector<Strata::Object*> distinct;
    for (Strata::Object* chain : chains)
        if (chain != nullptr && std::find(distinct.begin(), distinct.end(), chain) == distinct.end())
            distinct.push_back(chain);
    if (distinct.size() < 2)
        return;
    // Every task registers before any update runs, so no chain can pass before the last one is queued.
    Strata::CuePoint* cue = Strata::CuePoint::Create();
    for (Strata::Object* chain : distinct)
        chain->AddTask(new Strata::CuePointTask(cue));
}

} // namespace

void Meet(std::initializer_list<Strata::Object*> chains)
{
    MeetAll(chains);
}

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
    Join(object);
    QueueCall(object, std::move(call));
    return *this;
}

MiniGameSequence& MiniGameSequence::Sync()
{
    MeetAll(mChains);
    return *this;
}

MiniGameSequence& MiniGameSequence::Show(Strata::SceneNode& node, bool visible)
{
    return Then(node, new Strata::NodeVisibleTask(visible));
}

} // namespace Yardcrew
