#pragma once

// One of the cargo-pattern game's five cargo choices, with its own crane hook. A click is reported
// through its pressed signal; the game then drives the whole delivery through it: the hook lifts the
// cargo off the screen, the cargo comes down into a cart, and either the hook goes back up (right) or
// the cargo is lifted away again and destroyed (wrong). Each step appends task chains at the call and
// returns at once.

#include "game/HaulersDelivery/HaulersDeliveryLevel.h"
#include "game/PlayfieldObject.h"

namespace Strata
{
class SceneNode;
}

namespace Yardcrew
{

class DeliveryCart;

// Where cargo goes out of sight above the playfield, in screen pixels.
constexpr float kCargoLiftScreenY = -150.0f;

class DeliveryObject final : public PlayfieldObject
{
public:
    explicit DeliveryObject(HaulersDeliveryType type);

    void Update(float) override {}

    HaulersDeliveryType getCargoType() const { return mCargoType; }
    // Whether the picture takes clicks; nothing when the layout lacks it.
    void acceptMouseInput(bool accept);

    // The hook comes down onto the cargo (1 s) and lifts it off the top of the screen (2 s), where it
    // turns into its small picture.
    void getPickedUp();
    // Shows the small pictures and moves the hook to hold them.
    void useSmallImage();
    // The cargo comes down into the cart's drop point (2 s) and stays a child of it. Nothing happens
    // when the cart has no drop point.
    void placeInCart(DeliveryCart& cart);
    // Right answer: the praise, and the hook rises out of sight (1 s).
    void retractHook();
    // Wrong answer: the cargo rises back to where it came down from (2 s); arrivedSignal (with null)
    // then tells the game it is gone, and the object destroys itself with its nodes.
    void removeFromCartAndDestroy();

    Strata::SceneNode* getImageNode() const;
    Strata::SceneNode* getRolloverNode() const;
    Strata::SceneNode* getHookNode() const;

private:
    void showImages(const char* list, const char* rollover);

    HaulersDeliveryType mCargoType;
    // The height above its cart's drop point at which the cargo comes down; 0 until placed.
    float mLiftY = 0;
};

} // namespace Yardcrew
