#include "game/MiniGameSequence.h"

#include "framework/CuePoint.h"
#include "framework/Object.h"
#include "framework/Task.h"
#include "game/AudioManager.h"
#include "game/SimpleFunctionTask.h"
#include "scene/NodeAnimationTask.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace Yardcrew
{

std::unique_ptr<Strata::Task> CallTask(std::function<void()> call)
{
    if (!call)
        return std::make_unique<SimpleFunctionTask<Strata::Object>>(nullptr);
    return std::make_unique<SimpleFunctionTask<Strata::Object>>([call = std::move(call)](Strata::Object*, float)
                                                                { call(); });
}

void QueueCall(Strata::Object& chain, std::function<void()> call)
{
    chain.AddTask(CallTask(std::move(call)));
}

std::unique_ptr<Strata::Task> PlayEffectTask(const char* sound)
{
    const Strata::Label name(sound);
    return CallTask([name] { GetAudioManager()->playSFX(name); });
}

std::unique_ptr<Strata::Task> StartAnimationTask(const char* animation)
{
    return std::make_unique<Strata::NodeAnimationTask>(Strata::Label(animation),
                                                       Strata::NodeAnimationTaskCompletion_Immediate);
}

std::unique_ptr<Strata::Task> PlayAnimationTask(const char* animation)
{
    return std::make_unique<Strata::NodeAnimationTask>(Strata::Label(animation),
                                                       Strata::NodeAnimationTaskCompletion_WhenDone);
}

void Meet(std::initializer_list<Strata::Object*> chains)
{
    Meet(std::vector<Strata::Object*>(chains));
}

void Meet(const std::vector<Strata::Object*>& chains)
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
        chain->AddTask(std::make_unique<Strata::CuePointTask>(cue));
}

} // namespace Yardcrew
