#pragma once

// A platform of the stacking game in one colour, holding a stack of objects of that colour (bottom
// first, five stacking points). A click on it while an object of its colour is carried drops the
// object there; an object of the other colour is turned away and flies home. With nothing carried it
// hands its top object back to the pointer. It judges its stack: the correct bottom part stays, the
// rest goes back to the ground. A drop is told through dropSignal, a turned-away one through
// refusedSignal.

#include "framework/ObjectID.h"
#include "game/DragAndDrop.h"
#include "game/HoistStacker/HoistStackerLevel.h"
#include "game/PlayfieldObject.h"
#include "scene/LazySignal.h"

#include <vector>

namespace Strata
{
class SceneNode;
}

namespace Yardcrew
{

class StackableObject;

class StackingTarget final : public PlayfieldObject, public DragTarget<StackableObject*>
{
public:
    // Builds the platform from "StackTargetLayout" with the picture of its colour.
    explicit StackingTarget(StackObjectColor color);

    // "HoistStacker_StackableTarget".
    Strata::Label GetRole() const override;
    void Update(float) override {}
    void AddedToScene() override;

    StackObjectColor getColor() const { return mColor; }
    // The objects on it, bottom first.
    std::vector<StackableObject*> getStack() const;
    Strata::SceneNode* getClickNode() const;
    void acceptMouseInput(bool accept);
    // Where the next object goes; null when the stack is full.
    Strata::SceneNode* getCurrentStackingPoint() const;

    // Puts the object on top of the stack (the drop sound unless silent). Nothing when it is full.
    void stackObjectOnThis(StackableObject& object, bool silent);
    // Sends back every object from the first in a wrong place upward (all of them when forced) and
    // plays the fall; true when anything went.
    bool shakeOutCurrentStack(bool force);

    // Takes an object of its colour onto the stack; turns away one of the other colour, or any when the
    // stack is full.
    void DropActivated(StackableObject* object) override;

    // An object was dropped here and is on the stack.
    Strata::LazySignal<void(StackableObject* object)> dropSignal;
    // An object was dropped here and turned away.
    Strata::LazySignal<void(StackableObject* object)> refusedSignal;

private:
    void handleMouseDown(int x, int y);
    void showTopRollover(bool show);

    StackObjectColor mColor;
    std::vector<Strata::ObjectID> mStack;
};

} // namespace Yardcrew
