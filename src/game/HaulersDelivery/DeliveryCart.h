#pragma once

// One cart of the cargo-pattern game's train, showing its cargo as a frame of the small cargo list.
// The lead cart is the hauler truck itself: it draws the truck, carries its cargo in front and honks
// when clicked. The empty cart waits with its cargo hidden for the child's choice.

#include "game/HaulersDelivery/HaulersDeliveryLevel.h"
#include "game/PlayfieldObject.h"

namespace Strata
{
class SceneNode;
}

namespace Yardcrew
{

class DeliveryCart final : public PlayfieldObject
{
public:
    DeliveryCart(HaulersDeliveryType type, bool leadCart);

    // "HaulersDelivery_Cart": the mode finds the whole train by it.
    Strata::Label GetRole() const override;
    void Update(float) override {}

    // Starts the animation on the cart's sprite, without restarting one already playing; nothing for
    // a cart without a sprite type.
    void setCartAnim(const char* animation);
    // Shows or hides the cargo (the ordinary cart's picture; the lead cart's front cargo stays).
    void showCartContents(bool show);

    HaulersDeliveryType getCargoType() const { return mCargoType; }
    bool isLeadCart() const { return mLeadCart; }
    bool isCartEmpty() const { return mCartEmpty; }
    // Where a delivered cargo comes to rest; null when the layout lacks it.
    Strata::SceneNode* getCargoTarget() const;

private:
    HaulersDeliveryType mCargoType;
    bool mLeadCart;
    bool mCartEmpty = false;
};

} // namespace Yardcrew
