#include "framework/TimedTask.h"

#include <typeinfo>

#include "core/RuntimeError.h"
#include "framework/ObjectInterfaces.h"

#include <algorithm>
#include <stdexcept>

namespace Strata
{

namespace
{

std::shared_ptr<Interpolator> CheckInterpolator(std::shared_ptr<Interpolator> interpolator)
{
    if (!interpolator)
        STRATA_THROW(RuntimeError, "An interpolating task needs an interpolator.");
    return interpolator;
}

std::shared_ptr<NumberGenerator<float>> CheckGenerator(std::shared_ptr<NumberGenerator<float>> generator)
{
    if (!generator)
        STRATA_THROW(RuntimeError, "A timed task needs a duration generator.");
    return generator;
}

} // namespace

namespace Internal
{

sTaskStatus TimedTaskFinished(float dt, float elapsed, float duration)
{
    // Clamped to [0, dt]: rounding must never hand on more time than the step had.
    const float used = dt - (elapsed - duration);
    return Task::CompletedAfter(std::clamp(used, 0.0f, std::max(dt, 0.0f)));
}

} // namespace Internal

Task* TimedTask::Clone() const
{
    return new TimedTask(mDuration);
}

bool TimedTask::CanRestart() const
{
    return typeid(*this) == typeid(TimedTask);
}

void TimedTask::Restart()
{
    Task::Restart();
    mElapsed = 0.0f;
}

InterpolatingTask::InterpolatingTask(float duration, std::shared_ptr<Interpolator> interpolator)
    : TimedTask(duration), mInterpolator(CheckInterpolator(std::move(interpolator)))
{
}

float InterpolatingTask::interpolate(float from, float to) const
{
    return mInterpolator->interpolate(from, to, mElapsed, mDuration);
}

AlphaTask::AlphaTask(float alpha, float duration)
    : InterpolatingTask(duration, std::make_shared<LinearInterpolator>()), mTargetAlpha(alpha)
{
}

AlphaTask::AlphaTask(float alpha, float duration, std::shared_ptr<Interpolator> interpolator)
    : InterpolatingTask(duration, std::move(interpolator)), mTargetAlpha(alpha)
{
}

Task* AlphaTask::Clone() const
{
    return new AlphaTask(mTargetAlpha, mDuration, mInterpolator);
}

sTaskStatus AlphaTask::Update(Object* object, float dt)
{
    IAlpha* alpha = dynamic_cast<IAlpha*>(object);
    if (!alpha)
        STRATA_THROW(RuntimeError, std::string("AlphaTask applied to an object that does not implement IAlpha"));
    if (mElapsed == 0.0f)
        mStartAlpha = alpha->GetAlpha();
    const sTaskStatus status = TimedTask::Update(object, dt);
    alpha->SetAlpha(interpolate(mStartAlpha, mTargetAlpha));
    return status;
}

Task* VisibleTask::Clone() const
{
    return new VisibleTask(mVisible);
}

sTaskStatus VisibleTask::Update(Object* object, float)
{
    IVisible* visible = dynamic_cast<IVisible*>(object);
    if (!visible)
        STRATA_THROW(RuntimeError, std::string("VisibleTask applied to an object that does not implement IVisible"));
    visible->SetVisible(mVisible);
    return CompletedAfter(0.0f);
}

BetterTimedTask::BetterTimedTask(std::shared_ptr<NumberGenerator<float>> duration)
    : mGenerator(CheckGenerator(std::move(duration)))
{
}

BetterTimedTask::BetterTimedTask(float duration) : mGenerator(std::make_shared<ConstNumberGenerator<float>>(duration))
{
}

Task* BetterTimedTask::Clone() const
{
    return new BetterTimedTask(mGenerator);
}

sTaskStatus BetterTimedTask::Update(Object*, float dt)
{
    if (!mStarted)
    {
        mDuration = mGenerator->Generate();
        mStarted = true;
    }
    mElapsed += dt;
    return mElapsed < mDuration ? Incomplete : Internal::TimedTaskFinished(dt, mElapsed, mDuration);
}

BetterInterpolatingTask::BetterInterpolatingTask(std::shared_ptr<NumberGenerator<float>> duration,
                                                 std::shared_ptr<Interpolator> interpolator)
    : BetterTimedTask(std::move(duration)), mInterpolator(CheckInterpolator(std::move(interpolator)))
{
}

BetterInterpolatingTask::BetterInterpolatingTask(float duration, std::shared_ptr<Interpolator> interpolator)
    : BetterTimedTask(duration), mInterpolator(CheckInterpolator(std::move(interpolator)))
{
}

float BetterInterpolatingTask::interpolate(float from, float to) const
{
    return mInterpolator->interpolate(from, to, mElapsed, mDuration);
}

} // namespace Strata
