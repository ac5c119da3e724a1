#include "game/MiniGameSequence.h"

#include "framework/CuePoint.h"
#include "framework/Object.h"
#include "framework/Task.h"
#include "game/AudioManager.h"
#include "scene/NodeAnimationTask.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace Yardcrew
{

namespace
{

class OneCallTask final : public Strata::Task
{
public:
    explicit OneCallTask(std::function<void()> call) : mCall(std::move(call)) {}

    Strata::Task* Clone() const override { return std::make_unique<OneCallTask>(mCall).release(); }

    Strata::sTaskStatus Update(Strata::Object*, float) override
    {
        if (mCall)
            mCall();
        return Strata::Task::Complete;
    }

private:
    std::function<void()> mCall;
};

} // namespace

std::unique_ptr<Strata::Task> CallTask(std::function<void()> call)
{
    return std::make_unique<OneCallTask>(std::move(call));
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

void Meet(std::initializer_list<Strata::Object*> chains)
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
