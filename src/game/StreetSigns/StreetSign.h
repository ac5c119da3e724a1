#pragma once

// One sign by the road in the street-signs game: a plate of a colour and a shape on a post. A click is
// reported through its pressed signal; the game then shakes it (wrong) or lifts it into the truck
// (right), whose landing arrivedSignal reports. Each step appends task chains at the call and returns
// at once.

#include "game/PlayfieldObject.h"
#include "game/StreetSigns/StreetSignLevel.h"

namespace Strata
{
class SceneNode;
}

namespace Yardcrew
{

class StreetSign final : public PlayfieldObject
{
public:
    explicit StreetSign(const sStreetSign& sign);

    void Update(float) override {}

    const sStreetSign& getSign() const { return mSign; }
    // Whether the picture takes clicks; nothing when the layout lacks it.
    void acceptMouseInput(bool accept);
    bool isInTruck() const { return mInTruck; }

    // The picture wobbles on its post and comes back to rest.
    void shake();
    // The sign hops up, flies in an arc into the truck's bed slot and lands there, a child of the slot
    // from then on; arrivedSignal (with null) tells the game it has landed.
    void liftSignIntoTruck(Strata::SceneNode& slot);
    // Moves the sign under the slot, keeping where it stands on the screen.
    void attachToTruckNode(Strata::SceneNode& slot);

    Strata::SceneNode* getImageNode() const;
    Strata::SceneNode* getGlowNode() const;

private:
    void showGlow(bool show);

    sStreetSign mSign;
    bool mInTruck = false;
};

} // namespace Yardcrew
