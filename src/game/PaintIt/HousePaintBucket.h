#pragma once

// A paint bucket of one colour. A press on it plays the click and is reported through pressedSignal;
// the pointer passing over it lights its rim.

#include "game/PaintIt/PaintItContent.h"
#include "game/PlayfieldObject.h"

namespace Yardcrew
{

class HousePaintBucket final : public PlayfieldObject
{
public:
    explicit HousePaintBucket(HousePaintColor color);

    void Update(float) override {}

    HousePaintColor getColor() const { return mColor; }
    // Whether the bucket takes clicks; nothing when the layout lacks its picture.
    void acceptMouseInput(bool accept);

    Strata::SceneNode* getImageNode() const;
    Strata::SceneNode* getRolloverNode() const;

private:
    HousePaintColor mColor;
};

} // namespace Yardcrew
