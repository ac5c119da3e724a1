#pragma once

// One leaf of the pile. It blows in from the left to its resting point, and once tracking is on it
// slides straight away from the pointer while the pointer is within its radius of the resting point,
// by the radius less the pointer's distance, and lies back when the pointer moves off.

#include "core/Vector2.h"
#include "game/PlayfieldObject.h"

namespace Yardcrew
{

class Leaf final : public PlayfieldObject
{
public:
    // Builds the leaf from "LeafLayout" off the left edge, with a picture and a turn drawn at random.
    Leaf(int x, int y, int radius);

    // "PileOfLeaves_Leaf".
    Strata::Label GetRole() const override;
    // Follows the last pointer position while tracking.
    void Update(float dt) override;

    // Waits up to "PreFlightLeafDelayMax" seconds, then flies to the resting point at "LeafFlightSpeed".
    void flyToStablePosition();
    void setTracking(bool tracking) { mTracking = tracking; }

    Strata::Vector2<int> getRestingPoint() const { return mRest; }
    // Where the pointer at `pointer` puts the leaf: the resting point pushed away from it inside the
    // circle, the resting point itself outside it. False outside the square around the circle, where
    // the leaf stays where it was last put.
    bool placeFor(const Strata::Vector2<int>& pointer, Strata::Vector2<int>& place) const;

private:
    int mRadius;
    Strata::Vector2<int> mRest;
    bool mTracking = false;
};

} // namespace Yardcrew
