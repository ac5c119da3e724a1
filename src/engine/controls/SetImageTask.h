#pragma once

#include "framework/Task.h"

namespace Strata
{

class IImage;

// Gives an image sprite another image and completes without using time. On any other object it
// does nothing.
class SetImageTask : public Task
{
public:
    // The image is not owned; null leaves the sprite without an image.
    explicit SetImageTask(IImage* image) : mImage(image) {}

    sTaskStatus Update(Object* object, float dt) override;

private:
    IImage* mImage;
};

} // namespace Strata
