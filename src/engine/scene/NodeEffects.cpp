#include "scene/NodeEffects.h"

#include "framework/Task.h"
#include "framework/TimedTask.h"
#include "scene/NodePropertyTasks.h"

#include <memory>

namespace Strata
{

namespace
{

Task* TurnTo(float degrees, float seconds)
{
    return new NodeOrientationTask(Angle::FromDegrees(degrees), seconds);
}

} // namespace

std::unique_ptr<Task> getNodeErrorShakeTask()
{
    auto shake = std::make_unique<SerialTask>();
    shake->AddTask(new NodeScaleTask(Vector2<float>(1.0f, 1.0f)));
    shake->AddTask(new SerialTask(TurnTo(-10.0f, 0.05f), TurnTo(10.0f, 0.1f)));
    shake->AddTask(new SerialTask(TurnTo(-10.0f, 0.1f), TurnTo(10.0f, 0.1f)));
    shake->AddTask(TurnTo(0.0f, 0.05f));
    return shake;
}

std::unique_ptr<Task> getNodeItemPickUpAnimTask()
{
    auto pop = std::make_unique<SerialTask>();
    pop->AddTask(new SerialTask(new NodeScaleTask(Vector2<float>(1.1f, 1.1f)), new TimedTask(0.1f)));
    pop->AddTask(new NodeScaleTask(Vector2<float>(1.0f, 1.0f)));
    return pop;
}

} // namespace Strata
