#pragma once

// The counting game's tipper: it drives in on the road, shows what it asks for (one item and the
// number) in its request box, takes the digger's load and drives off, and a far copy of it then drives
// along the far road. A press on the tipper or its request box is reported through its pressed signal.

#include "framework/ObjectID.h"
#include "game/CountTheMaterials/CountTheMaterialsLevel.h"
#include "game/PlayfieldObject.h"

#include <cstdint>

namespace Strata
{
class SceneNode;
}

namespace Yardcrew
{

class MaterialTarget final : public PlayfieldObject
{
public:
    // Builds the tipper from "MaterialTargetLayout" and its far copy from "TipperBGLayout" under the
    // playfield's depth-sorted layer; the game then adds the tipper under that layer too.
    MaterialTarget(BuildingMaterial material, int32_t number);

    // "CountTheMaterials_MaterialTarget".
    Strata::Label GetName() const override;

    // From "TipperStartPosition" along the road in; then idle, with the request box shown.
    void driveOntoScreen();
    // Along the road out; then the far copy drives along the far road and hoots.
    void driveOffScreen();
    void hideMaterialRequest(bool hide);
    void acceptMouseInput(bool accept);

    BuildingMaterial getRequestedMaterial() const { return mMaterial; }
    int32_t getRequestedNumber() const { return mNumber; }
    // The node of "tipperImage" (the picture and the click target); null once the tipper is gone.
    Strata::SceneNode* getImageNode() const;
    // The request box; null once the tipper is gone.
    Strata::SceneNode* getRequestBox() const;
    // Where the load goes.
    Strata::SceneNode* getCartNode() const;
    // The far copy's root, while it lives.
    Strata::SceneNode* getBackgroundNode() const;

private:
    Strata::ObjectID mBackground;
    int32_t mNumber;
    BuildingMaterial mMaterial;
};

} // namespace Yardcrew
