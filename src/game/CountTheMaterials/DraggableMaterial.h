#pragma once

// A pile of one material on the counting game's playfield: it shows its number of items, lights up
// under the pointer and reports a press through its pressed signal. The digger later carries it as drawn, count and
// all.

#include "game/CountTheMaterials/CountTheMaterialsLevel.h"
#include "game/PlayfieldObject.h"

#include <cstdint>

namespace Strata
{
class SceneNode;
}

namespace Yardcrew
{

class DraggableMaterial final : public PlayfieldObject
{
public:
    // Builds the pile's nodes from "MaterialSourceLayout"; the game then adds it under a pile place.
    DraggableMaterial(BuildingMaterial material, int32_t number);

    // "CountTheMaterials_MaterialObject".
    Strata::Label GetRole() const override;
    void Update(float) override {}

    void acceptMouseInput(bool accept);

    BuildingMaterial getMaterial() const { return mMaterial; }
    int32_t getNumber() const { return mNumber; }
    // The picture that takes the pointer; null once the pile is gone.
    Strata::SceneNode* getImageNode() const;
    Strata::SceneNode* getHighlightNode() const;

private:
    void setupMouseHandling();
    void handleMouseDown();
    void handleMouseEnter();
    void handleMouseExit();
    Strata::SceneNode* child(const char* name) const;

    BuildingMaterial mMaterial;
    int32_t mNumber;
};

} // namespace Yardcrew
