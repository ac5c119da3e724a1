#include "scene/NodeMotionTasks.h"

#include "scene/NodeTaskSupport.h"

#include <cmath>

namespace Strata
{

namespace
{

std::vector<Vector2<float>> CheckPoints(std::vector<Vector2<float>> points)
{
    if (points.empty())
        STRATA_THROW(RuntimeError, "NodeCatmullRomPathTask needs at least one point.");
    return points;
}

constexpr const char* kLocationNotANode = "NodeLocationTask must be applied to a SceneNode";

Vector2<float> ToFloat(int x, int y)
{
    return Vector2<float>(static_cast<float>(x), static_cast<float>(y));
}

} // namespace

NodeVector2Task::NodeVector2Task(std::shared_ptr<Vector2Generator<float>> target,
                                 std::shared_ptr<NumberGenerator<float>> duration,
                                 std::shared_ptr<Interpolator> interpolator, const char* nullTarget,
                                 const char* notANode)
    : BetterInterpolatingTask(std::move(duration), std::move(interpolator)),
      mTargetGenerator(CheckTarget(std::move(target), nullTarget)), mNotANode(notANode)
{
}

NodeVector2Task::NodeVector2Task(const Vector2<float>& target, float seconds,
                                 std::shared_ptr<Interpolator> interpolator, const char* notANode)
    : BetterInterpolatingTask(seconds, std::move(interpolator)), mTargetGenerator(ConstVector2FGenerator(target)),
      mNotANode(notANode)
{
}

sTaskStatus NodeVector2Task::Update(Object* object, float dt)
{
    SceneNode* node = RequireNode(object, mNotANode);
    if (!mStarted)
    {
        mStart = GetProperty(*node);
        mTarget = mTargetGenerator->Generate();
    }
    const sTaskStatus status = BetterTimedTask::Update(object, dt);
    // Exactly on the target at the end, whatever rounding the easing left.
    SetProperty(*node, status.IsComplete()
                           ? mTarget
                           : Vector2<float>(interpolate(mStart.x, mTarget.x), interpolate(mStart.y, mTarget.y)));
    return status;
}

NodeLocationTask::NodeLocationTask(std::shared_ptr<Vector2Generator<float>> target,
                                   std::shared_ptr<NumberGenerator<float>> duration,
                                   std::shared_ptr<Interpolator> interpolator)
    : NodeVector2Task(std::move(target), std::move(duration), std::move(interpolator),
                      "NodeLocationTask needs a target generator.", kLocationNotANode)
{
}

NodeLocationTask::NodeLocationTask(const Vector2<float>& target)
    : NodeVector2Task(target, 0.0f, std::make_shared<ImmediateInterpolator>(), kLocationNotANode)
{
}

NodeLocationTask::NodeLocationTask(int x, int y) : NodeLocationTask(ToFloat(x, y))
{
}

NodeLocationTask::NodeLocationTask(const Vector2<float>& target, float seconds)
    : NodeVector2Task(target, seconds, std::make_shared<LinearInterpolator>(), kLocationNotANode)
{
}

NodeLocationTask::NodeLocationTask(float x, float y, float seconds) : NodeLocationTask(Vector2<float>(x, y), seconds)
{
}

NodeLocationTask::NodeLocationTask(int x, int y, float seconds) : NodeLocationTask(ToFloat(x, y), seconds)
{
}

Task* NodeLocationTask::Clone() const
{
    return new NodeLocationTask(mTargetGenerator->Clone(), mGenerator->Clone(), mInterpolator);
}

Vector2<float> NodeLocationTask::GetProperty(const SceneNode& node) const
{
    return node.LocalGetLocation();
}

void NodeLocationTask::SetProperty(SceneNode& node, const Vector2<float>& location) const
{
    node.LocalSetLocation(location);
}

NodeBezierLocationTask::NodeBezierLocationTask(const Vector2<float>& end, const Vector2<float>& control1,
                                               const Vector2<float>& control2, float seconds)
    : InterpolatingTask(seconds, std::make_shared<LinearInterpolator>()), mEnd(end), mControl1(control1),
      mControl2(control2)
{
}

Task* NodeBezierLocationTask::Clone() const
{
    return new NodeBezierLocationTask(mEnd, mControl1, mControl2, mDuration);
}

sTaskStatus NodeBezierLocationTask::Update(Object* object, float dt)
{
    SceneNode* node = RequireNode(object, "NodeBezierLocationTask must be applied to a SceneNode");
    if (!mStarted)
    {
        mStart = node->LocalGetLocation();
        mC = (mControl1 - mStart) * 3.0f;
        mB = (mControl2 - mControl1) * 3.0f - mC;
        mA = mEnd - mStart - mC - mB;
        mStarted = true;
    }
    const sTaskStatus status = TimedTask::Update(object, dt);
    const float t = interpolate(0.0f, 1.0f);
    // The power form need not sum back to the end point in floats; the end is given exactly.
    if (t >= 1.0f)
        node->LocalSetLocation(mEnd);
    else
        node->LocalSetLocation(mC * t + (mA * (t * t * t) + mB * (t * t)) + mStart);
    return status;
}

NodeCatmullRomPathTask::NodeCatmullRomPathTask(std::vector<Vector2<float>> points, float seconds)
    : NodeCatmullRomPathTask(std::move(points), seconds, std::make_shared<LinearInterpolator>())
{
}

NodeCatmullRomPathTask::NodeCatmullRomPathTask(std::vector<Vector2<float>> points, float seconds,
                                               std::shared_ptr<Interpolator> interpolator)
    : InterpolatingTask(seconds, std::move(interpolator)), mPoints(CheckPoints(std::move(points))), mAutomaticEnds(true)
{
}

NodeCatmullRomPathTask::NodeCatmullRomPathTask(std::vector<Vector2<float>> points, const Vector2<float>& leading,
                                               const Vector2<float>& trailing, float seconds,
                                               std::shared_ptr<Interpolator> interpolator)
    : InterpolatingTask(seconds, std::move(interpolator)), mPoints(CheckPoints(std::move(points))), mLeading(leading),
      mTrailing(trailing), mAutomaticEnds(false)
{
}

Task* NodeCatmullRomPathTask::Clone() const
{
    if (mAutomaticEnds)
        return new NodeCatmullRomPathTask(mPoints, mDuration, mInterpolator);
    return new NodeCatmullRomPathTask(mPoints, mLeading, mTrailing, mDuration, mInterpolator);
}

sTaskStatus NodeCatmullRomPathTask::Update(Object* object, float dt)
{
    SceneNode* node = RequireNode(object, "NodeCatmullRomPathTask must be applied to a SceneNode");
    if (!mStarted)
    {
        const Vector2<float> start = node->LocalGetLocation();
        if (mAutomaticEnds)
        {
            mLeading = start;
            mTrailing = mPoints.back();
        }
        mControls.clear();
        mControls.reserve(mPoints.size() + 3);
        mControls.push_back(mLeading);
        mControls.push_back(start);
        mControls.insert(mControls.end(), mPoints.begin(), mPoints.end());
        mControls.push_back(mTrailing);
        mStarted = true;
    }
    const sTaskStatus status = TimedTask::Update(object, dt);

    const size_t count = mPoints.size();
    const float u = interpolate(0.0f, static_cast<float>(count));
    // Written so that NaN, too, lands on the last point rather than becoming an index.
    if (!(u < static_cast<float>(count)))
    {
        node->LocalSetLocation(mPoints.back());
        return status;
    }
    // An easing that undershoots the start stays on the first segment, extrapolated.
    const size_t i = u > 0.0f ? static_cast<size_t>(u) : 0;
    const float s = u - static_cast<float>(i);
    const Vector2<float>& p0 = mControls[i];
    const Vector2<float>& p1 = mControls[i + 1];
    const Vector2<float>& p2 = mControls[i + 2];
    const Vector2<float>& p3 = mControls[i + 3];
    const Vector2<float> cubic = p3 - p2 * 3.0f + p1 * 3.0f - p0;
    const Vector2<float> square = p2 * 4.0f - p1 * 5.0f + p0 * 2.0f - p3;
    const Vector2<float> linear = p2 - p0;
    node->LocalSetLocation((cubic * (s * s * s) + square * (s * s) + linear * s + p1 * 2.0f) * 0.5f);
    return status;
}

} // namespace Strata
