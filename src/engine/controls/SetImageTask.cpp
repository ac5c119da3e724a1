#include "controls/SetImageTask.h"

#include "controls/Sprites.h"

namespace Strata
{

sTaskStatus SetImageTask::Update(Object* object, float)
{
    if (auto* sprite = dynamic_cast<ImageSpriteObject*>(object))
        sprite->SetImage(mImage);
    return CompletedAfter(0.0f);
}

} // namespace Strata
