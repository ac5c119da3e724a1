#pragma once

// The counting game's digger: it drives in to its idle place, fetches the right pile round to the
// tipper, or drives to a wrong pile and reverses home. Every trip is queued at once on three chains
// (its root node for the position, its truck picture for animations and sounds, and itself for the
// points where the game lets others wait for it) and plays over the following seconds.

#include "core/Vector2.h"
#include "game/PlayfieldObject.h"

#include <vector>

namespace Strata
{
class SceneNode;
}

namespace Yardcrew
{

class DraggableMaterial;

class MaterialLoader final : public PlayfieldObject
{
public:
    // Builds the digger from "MaterialLoaderLayout"; a press on it asks "Are we ready?".
    MaterialLoader();

    // "CountTheMaterials_MaterialLoader".
    Strata::Label GetName() const override;

    // From "DiggerOffScreenPosition_Left" to its idle place.
    void enterScreen();
    // After a short pause, to the pile, which it lifts.
    void driveToMaterial(DraggableMaterial* pile);
    // Out to the right with the load; `from` is where the trip is measured from (the pile's centre).
    void driveOffScreen(const Strata::Vector2<float>& from);
    // Turns, comes along the delivery road to the tipper and drops the load into its cart.
    void startLoadSequence();
    // Away along the road out.
    void endLoadSequence();
    // To the pile and back home; the game says what is wrong with it on arrival.
    void driveToIncorrectMaterial(DraggableMaterial* pile);

    // Steps of the trips, run from the chains.
    void pickUpMaterial(DraggableMaterial* pile);
    void flipDiggerFacing();
    void giveMaterials();

    Strata::SceneNode* getTruckImage() const;
    // Where the pile hangs while it faces right, and after it has turned.
    Strata::SceneNode* getAttachNode(bool flipped) const;

private:
    // Where the digger stands to scoop the pile up, in the coordinates of the pile's frame.
    Strata::Vector2<float> pickUpPoint(DraggableMaterial& pile) const;
    void setShovelAnimation(const char* name);
};

// Moves every child of `from` below `to`, first child first, so their drawing order is kept.
void MoveAllChildren(Strata::SceneNode& from, Strata::SceneNode& to);

} // namespace Yardcrew
