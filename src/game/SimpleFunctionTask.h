#pragma once

#include "framework/Task.h"

#include <functional>
#include <memory>
#include <utility>

namespace Strata
{
class Object;
}

namespace Yardcrew
{

// Turns one call into a step of a task sequence: a sound when a cart starts, the end of the level after
// the outro. The callable gets the object the task runs on as a T (null when it is none or not a T) and
// the step's seconds; callables bound to a fixed object ignore both. The task calls once, in its first
// update, and completes having used the whole step, so what follows it in a sequence starts in the next
// update. An empty callable completes without a call. Game code queues calls through QueueCall and
// CallTask (game/MiniGameSequence.h), which build on it.
template <class T>
class SimpleFunctionTask : public Strata::Task
{
public:
    using Function = std::function<void(T*, float)>;

    explicit SimpleFunctionTask(Function function) : mFunction(std::move(function)) {}

    Strata::Task* Clone() const override { return std::make_unique<SimpleFunctionTask>(mFunction).release(); }

    Strata::sTaskStatus Update(Strata::Object* object, float dt) override
    {
        if (mFunction)
            mFunction(dynamic_cast<T*>(object), dt);
        return Strata::Task::Complete;
    }

private:
    Function mFunction;
};

} // namespace Yardcrew
