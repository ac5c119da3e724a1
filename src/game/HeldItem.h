#pragma once

// Click to pick up, click to put down, or press, drag and let go. HeldItem carries one node under the
// pointer; HeldDragSource<T*> is the drag source (DragAndDrop.h) whose pick-up carries its node, and
// ConnectDragTarget lets a target's node make it the current drag target while the pointer is over it.
// Main thread only.

#include "core/Vector2.h"
#include "framework/ObjectID.h"
#include "game/DragAndDrop.h"
#include "scene/SceneNode.h"
#include "scene/SceneNodeFactory.h"

#include <boost/signals2/connection.hpp>
#include <boost/signals2/signal.hpp>

#include <utility>
#include <vector>

namespace Strata
{
class ObjectDatabase;
}

namespace Yardcrew
{

// Carries a node under the pointer. The node leaves its parent for a carrier node in a layer above the
// playfield and keeps its offset from the pointer; hit tests are off over its subtree while it is
// carried, so the nodes below still see the pointer enter and leave. The carrier holds the mouse
// capture, so the next press reaches pressSignal, whose slot puts the node down or back, except:
// - a press on a button (any enabled pressable node, as the Help and Quit buttons) is the button's:
//   yieldSignal asks the owner to send the item home, the item is put back at once (the question the
//   button opens stops the game's motion, which would leave it half way), and the press goes on to
//   the button, so one press opens it;
// - a press on a node that swallows input (YardcrewGameMode::setupMouseInputEatingNode) reaches
//   nothing, and the item stays in hand;
// - a press whose slot sent the item home as it fell on no place (PassPressOn) goes on to what lay
//   under the item when that takes presses: a press on another item sends this one home and takes
//   that one, whatever put this one in hand (a press meant for a pop-up that had just closed).
// When the press that picked the item up is let go after the pointer moved more than
// kDragDistance pixels, the release counts as the next press: the item is dragged and dropped.
// Nodes are held by identifier: one destroyed while carried is simply no longer put anywhere.
class HeldItem
{
public:
    HeldItem();
    // Puts a carried node back; a carrier already gone with its mode is left alone.
    ~HeldItem();
    HeldItem(const HeldItem&) = delete;

    // How far the pointer must move, while the button that picked the item up is held, for the
    // release to drop it.
    static constexpr float kDragDistance = 6.0f;
    HeldItem& operator=(const HeldItem&) = delete;

    // Seconds the way back takes; 0 (the default) puts a node back at once, as does a press on a button.
    void SetReturnSeconds(float seconds) { mReturnSeconds = seconds; }
    // While a press on a button sends the item home (in yieldSignal's slots and the put-back): an owner
    // that moves the item home itself puts it there at once too.
    bool IsYielding() const { return mYielding; }

    // Starts carrying `node` from the pointer at (x, y), under a carrier in `layer`. False, changing
    // nothing, for a null node or layer, a node or layer in no scene mode, or while this or another
    // HeldItem of the mode carries something (one thing under the pointer at a time).
    bool Carry(Strata::SceneNode* node, Strata::SceneNode* layer, int x, int y);
    // The same with a copy of `original` the caller made (its layout instantiated again), which starts
    // where the original is; the scene takes the copy. Put back, the copy is destroyed.
    bool CarryCopy(Strata::SceneTreePtr copy, Strata::SceneNode* original, Strata::SceneNode* layer, int x, int y);
    // Ends carrying: the node goes under `parent` at `location` (in the parent's frame) and takes hits
    // again. Nothing when not carrying; a null parent puts it back.
    void PutDown(Strata::SceneNode* parent, Strata::Vector2<float> location);
    // Ends carrying: the node goes back to its parent and location (a copy is destroyed).
    void PutBack();

    // Moves the carried node so that its point `aim` (from the node's top left corner) is at the pointer,
    // and keeps it there: for an item that acts at one point (a tool's tip), what the child aims with is
    // where the press counts. Nothing when not carrying.
    void AimWith(Strata::Vector2<float> aim);

    // Pins the carried node where it stands (false) or lets it follow the pointer again (true, the
    // start of every carry). Nothing when not carrying.
    void SetFollowing(bool follow);

    bool IsCarrying() const { return !mCarrier.IsInvalid(); }
    // The node carried; null when none is, or it is gone.
    Strata::SceneNode* GetCarriedNode() const;

    // The press (button, x, y) that ends carrying, or the release that ends a drag.
    boost::signals2::signal<void(Strata::MouseButton, int, int)> pressSignal;
    // A press went to a button: the item must go home (it is put back after the slots in any case).
    boost::signals2::signal<void()> yieldSignal;
    // For a pressSignal slot that sent the item home because the press was on no place: once the item
    // is home, the press goes on to what lay under the carried item when that takes presses (another
    // item), so a press on another item takes it at once.
    void PassPressOn() { mPassPressOn = true; }

private:
    // The node of that identifier, or its nearest parent, that acts on a press; null for none.
    Strata::SceneNode* PressTaker(Strata::ObjectID id) const;
    // A press, or the release that ends a drag (which never passes on to a button).
    void OnPress(Strata::MouseButton button, int x, int y, bool release);
    void OnRelease(Strata::MouseButton button, int x, int y);
    bool Start(Strata::SceneNode* node, Strata::SceneNode* layer, int x, int y, bool copy);
    void End(Strata::SceneNode* parent, Strata::Vector2<float> location, bool back);
    Strata::SceneNode* Find(Strata::ObjectID id) const;

    Strata::ObjectDatabase* mDatabase = nullptr;
    Strata::ObjectID mCarrier;
    Strata::ObjectID mNode;
    Strata::ObjectID mHome; // the parent it came from
    Strata::Vector2<float> mHomeLocation;
    bool mCopy = false;
    std::vector<std::pair<Strata::ObjectID, bool>> mHitTests; // what the subtree had before
    boost::signals2::scoped_connection mPress;
    boost::signals2::scoped_connection mRelease;
    float mReturnSeconds = 0.0f;
    bool mYielding = false;
    bool mPassPressOn = false;
};

// An item that is picked up by a click and carried until the next one (or a drag's release): that click
// drops it on the current drag target of its type, which decides in DropActivated whether to take it
// (PutDown), or sends it back when there is none. A target that leaves it alone sends it back too. A
// target that uses the item in place (UseInPlace) keeps it carried. A press on a button cancels it; a
// press on no place sends it back and goes on to another item under it, which it takes.
template <class T>
class HeldDragSource;

template <class T>
class HeldDragSource<T*> : public DragSource<T*>
{
public:
    explicit HeldDragSource(T* item) : DragSource<T*>(item)
    {
        // An item that is somehow not the held one still goes back rather than keep the capture.
        mHeld.pressSignal.connect(
            [this](Strata::MouseButton, int, int)
            {
                DragTarget<T*>* target = DragTarget<T*>::GetCurrentDragTarget();
                if (target != nullptr && target->UseInPlace(this->GetDragItem()))
                    return;
                if (target == nullptr)
                    mHeld.PassPressOn();
                this->Release();
                mHeld.PutBack();
            });
        mHeld.yieldSignal.connect([this] { this->Cancel(); });
    }

    // Picks the item up, carrying `node` (usually its own) from the pointer at (x, y) under `layer`.
    // Nothing when something is carried already or the item is in no database.
    void PickUp(Strata::SceneNode* node, Strata::SceneNode* layer, int x, int y)
    {
        if (!mHeld.Carry(node, layer, x, y))
            return;
        this->Drag();
        if (DragSource<T*>::GetHeldDragSource() != this)
            mHeld.PutBack();
    }
    // The same carrying a copy of `original` (HeldItem::CarryCopy).
    void PickUpCopy(Strata::SceneTreePtr copy, Strata::SceneNode* original, Strata::SceneNode* layer, int x, int y)
    {
        if (!mHeld.CarryCopy(std::move(copy), original, layer, x, y))
            return;
        this->Drag();
        if (DragSource<T*>::GetHeldDragSource() != this)
            mHeld.PutBack();
    }
    // For the target's DropActivated: the item stays under `parent` at `location`.
    void PutDown(Strata::SceneNode* parent, Strata::Vector2<float> location) { mHeld.PutDown(parent, location); }

    HeldItem& GetHeldItem() { return mHeld; }

protected:
    void DoOnCancel() override { mHeld.PutBack(); }
    void DoOnReleased() override { mHeld.PutBack(); }

private:
    HeldItem mHeld;
};

// While the pointer is over `node` (which must take hits), `target` is the current drag target. The
// target is looked up by identifier, so a slot never reaches one that is gone.
template <class T>
void ConnectDragTarget(DragTarget<T*>& target, Strata::SceneNode& node)
{
    const Strata::ObjectID id = target.GetID();
    node.mouseEnterSignal.connect(
        [id](Strata::SceneNode*)
        {
            if (auto* live = Strata::GetObject<DragTarget<T*>>(id))
                live->DragEnter();
        });
    node.mouseExitSignal.connect(
        [id](Strata::SceneNode*)
        {
            if (auto* live = Strata::GetObject<DragTarget<T*>>(id))
                live->DragLeave();
        });
}

} // namespace Yardcrew
