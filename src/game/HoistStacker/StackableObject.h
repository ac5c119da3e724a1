#pragma once

// A log or girder of the stacking game. A click on it picks it up: a copy of its picture follows the
// pointer while the object itself stays invisible in place. The next click drops it on the platform
// under the pointer, if that platform takes it, or puts it back; a platform that turns it away sends it
// home with a wobble. On a stack it takes no clicks of its own; judged wrong, it wobbles and flies back
// to its ground position. It tells its game through pressedSignal (picked up) and arrivedSignal (put
// down: the platform, or null when it went back).

#include "game/HeldItem.h"
#include "game/HoistStacker/HoistStackerLevel.h"
#include "game/PlayfieldObject.h"

namespace Strata
{
class SceneNode;
}

namespace Yardcrew
{

class StackingTarget;

class StackableObject final : public PlayfieldObject, public HeldDragSource<StackableObject*>
{
public:
    enum class Place
    {
        Ground, // lying there or carried
        Stack,
        Falling, // on its way back from a stack
    };

    // Builds the object from "StackableObjectLayout"; the game adds it under `ground`.
    StackableObject(const StackableObjectData& data, Strata::SceneNode* ground);

    // "HoistStacker_StackableObject".
    Strata::Label GetRole() const override;
    void Update(float) override {}

    const StackableObjectData& getData() const { return mData; }
    Place getPlace() const { return mPlace; }
    // On a stack at its own place; false off the stacks.
    bool isCorrectlyPlaced() const { return mCorrectlyPlaced; }
    bool isHeld() const { return GetHeldDragSource() == this; }
    Strata::SceneNode* getImageNode() const;

    void acceptMouseInput(bool accept);
    void setRolloverVisible(bool visible);
    // Its place in a correct stack (0 = bottom): the objects of its colour that are larger. Counted at
    // the first call, from the objects alive then.
    int getCorrectStackIndex();

    // Picks it up from the pointer at (x, y).
    void pickUp(int x, int y);
    // Hangs it on the platform's next stacking point (with the drop sound unless silent); the platform
    // keeps the stack.
    void moveToStack(StackingTarget& platform, bool silent);
    // Off the top of a stack and carried; put back, it lies on its ground position.
    void pickupFromStack(int x, int y);
    // From a stack back to its ground position: a wobble, then a flight of a second.
    void returnToGround();
    // For the platform that turns the object away as it is dropped: it flies home from where the
    // pointer let it go, as a wrong object from a stack does.
    void refuse() { mRefused = true; }

private:
    void DoOnStartDragging() override;
    void DoOnCancel() override;
    void DoOnReleased() override;
    void showPicture(Strata::SceneNode* root) const;
    // Wobbles where it stands on screen (`global`), then flies to its ground position.
    void flyHomeFrom(Strata::Vector2<float> global);
    void land();

    StackableObjectData mData;
    Strata::SceneNode* mGround;
    int mCorrectStackIndex = -1;
    bool mCorrectlyPlaced = false;
    Place mPlace = Place::Ground;
    // The platform of the drop under way; null otherwise.
    StackingTarget* mDroppedOn = nullptr;
    // The drop under way was turned away.
    bool mRefused = false;
};

} // namespace Yardcrew
