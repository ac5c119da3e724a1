#pragma once

// The delivery game's truck. It fetches a clicked animal from the loading area, drives to a clicked
// house along the street's three roads (straight on when the house lies ahead on its road, otherwise
// off screen and back in along the house's road), hands the animal over and drives home. Each trip is
// queued at once: the movements on its root node, the points where the game takes over on the truck
// itself, which reports them through its arrived signal: the animal once it is aboard, the house once
// the truck stands there, and null once it is home after a delivery with the animal gone.

#include "core/Vector2.h"
#include "framework/ObjectID.h"
#include "game/PlayfieldObject.h"

namespace Strata
{
class SceneNode;
}

namespace Yardcrew
{

class HereToThereObject;
class HereToThereTarget;

class HereToThereCart final : public PlayfieldObject
{
public:
    // Builds the truck from "HereToThereCartLayout", idle and facing left; a press on it sounds the horn.
    HereToThereCart();

    // "HereToThere_Cart".
    Strata::Label GetName() const override;
    void Update(float) override {}

    // Whether an animal is aboard (recorded at the start of the loading trip).
    bool hasLoadedObject() const { return getLoadedObject() != nullptr; }
    // The animal aboard; null when none is or it is gone.
    HereToThereObject* getLoadedObject() const;
    bool isFacingLeft() const { return mFacingLeft; }

    // Along the loading row to the animal, which it takes aboard.
    void startLoadingSequence(HereToThereObject* animal);
    // To the house, directly or the long way; arrives there with the animal still aboard.
    void startDeliverySequence(HereToThereTarget* house);
    // Sets the animal aboard down by `node` (the house's cage place); it leaves its cage and goes two
    // seconds later, which the truck waits for before it reports being home. Nothing when none is aboard.
    void unloadCurrentObject(Strata::SceneNode* node);
    // From the house off the screen and back in along the loading row to its idle place.
    void returnToLoadingArea(HereToThereTarget* house);

    // Steps of the trips, run from the chains.
    void loadNewObject();
    void setHaulerAnims(bool driving);
    // Faces left or right; an animal aboard turns with it.
    void setCartFacing(bool left);

    Strata::SceneNode* getImageNode() const;
    // Where the animal aboard sits while the truck faces left (false) or right (true).
    Strata::SceneNode* getAttachNode(bool flipped) const;

    // The truck's road-end points as it faces now: where it comes back in on the house's road, and
    // where it leaves the screen on the line of `point`.
    Strata::Vector2<float> getEnterScreenStartPoint(const HereToThereTarget& house) const;
    Strata::Vector2<float> getOffscreenDestPoint(const Strata::Vector2<float>& point) const;

private:
    void driveLeg(const Strata::Vector2<float>& from, const Strata::Vector2<float>& to, float speed);
    Strata::Vector2<float> location() const;

    bool mFacingLeft = true;
    Strata::ObjectID mLoaded;
};

} // namespace Yardcrew
