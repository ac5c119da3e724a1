#include "scene/NodePropertyTasks.h"

#include "scene/NodeTaskSupport.h"

namespace Strata
{

namespace
{

constexpr const char* kScaleNotANode = "NodeScaleTask must be applied to a SceneNode";

} // namespace

NodeOrientationTask::NodeOrientationTask(std::shared_ptr<NumberGenerator<Angle>> target,
                                         std::shared_ptr<NumberGenerator<float>> duration,
                                         std::shared_ptr<Interpolator> interpolator)
    : BetterInterpolatingTask(std::move(duration), std::move(interpolator)),
      mTargetGenerator(CheckTarget(std::move(target), "NodeOrientationTask needs a target generator."))
{
}

NodeOrientationTask::NodeOrientationTask(std::shared_ptr<NumberGenerator<Angle>> target,
                                         std::shared_ptr<NumberGenerator<float>> duration)
    : NodeOrientationTask(std::move(target), std::move(duration), std::make_shared<LinearInterpolator>())
{
}

NodeOrientationTask::NodeOrientationTask(Angle target)
    : BetterInterpolatingTask(0.0f, std::make_shared<ImmediateInterpolator>()),
      mTargetGenerator(std::make_shared<ConstNumberGenerator<Angle>>(target))
{
}

NodeOrientationTask::NodeOrientationTask(Angle target, float seconds)
    : BetterInterpolatingTask(seconds, std::make_shared<LinearInterpolator>()),
      mTargetGenerator(std::make_shared<ConstNumberGenerator<Angle>>(target))
{
}

Task* NodeOrientationTask::Clone() const
{
    return new NodeOrientationTask(mTargetGenerator->Clone(), mGenerator->Clone(), mInterpolator);
}

sTaskStatus NodeOrientationTask::Update(Object* object, float dt)
{
    SceneNode* node = RequireNode(object, "NodeOrientationTask must be applied to a SceneNode");
    if (!mStarted)
    {
        // Both wrapped first, so a node driven round several turns does not unwind them.
        mStart = node->LocalGetOrientation().Wrap();
        mTarget = mTargetGenerator->Generate().Wrap();
        if (mTarget > mStart + Angle(Angle::pi()))
            mTarget -= Angle::Circle();
        else if (mTarget < mStart - Angle(Angle::pi()))
            mTarget += Angle::Circle();
    }
    const sTaskStatus status = BetterTimedTask::Update(object, dt);
    node->LocalSetOrientation(status.IsComplete() ? mTarget
                                                  : Angle(interpolate(mStart.GetValue(), mTarget.GetValue())));
    return status;
}

NodeScaleTask::NodeScaleTask(std::shared_ptr<Vector2Generator<float>> target,
                             std::shared_ptr<NumberGenerator<float>> duration,
                             std::shared_ptr<Interpolator> interpolator)
    : NodeVector2Task(std::move(target), std::move(duration), std::move(interpolator),
                      "NodeScaleTask needs a target generator.", kScaleNotANode)
{
}

NodeScaleTask::NodeScaleTask(const Vector2<float>& target)
    : NodeVector2Task(target, 0.0f, std::make_shared<ImmediateInterpolator>(), kScaleNotANode)
{
}

Task* NodeScaleTask::Clone() const
{
    return new NodeScaleTask(mTargetGenerator->Clone(), mGenerator->Clone(), mInterpolator);
}

Vector2<float> NodeScaleTask::GetProperty(const SceneNode& node) const
{
    return node.LocalGetScale();
}

void NodeScaleTask::SetProperty(SceneNode& node, const Vector2<float>& scale) const
{
    node.LocalSetScale(scale);
}

NodeVisibleTask::NodeVisibleTask(bool visible) : mGenerator(std::make_shared<ConstNumberGenerator<bool>>(visible))
{
}

NodeVisibleTask::NodeVisibleTask(std::shared_ptr<NumberGenerator<bool>> visible)
    : mGenerator(CheckTarget(std::move(visible), "NodeVisibleTask needs a visibility generator."))
{
}

Task* NodeVisibleTask::Clone() const
{
    return new NodeVisibleTask(mGenerator->Clone());
}

sTaskStatus NodeVisibleTask::Update(Object* object, float)
{
    SceneNode* node = RequireNode(object, "NodeVisibleTask must be applied to a SceneNode");
    node->LocalSetVisible(mGenerator->Generate());
    return CompletedAfter(0.0f);
}

} // namespace Strata
