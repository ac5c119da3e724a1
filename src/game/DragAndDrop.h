#pragma once

// Picking up and putting down. Items derive from DragSource<T*>, places from DragTarget<T*>; both
// share Strata::Object as a virtual base, so a game item can also be a SceneLayoutController. The
// held item and the place under the pointer are kept by ID in two named objects of the current mode's
// database, so an item or place that is destroyed simply stops counting. Main thread only.

#include "core/Label.h"
#include "framework/AutoObject.h"
#include "framework/Object.h"
#include "framework/ObjectID.h"

namespace Yardcrew
{

class DragContainer : public Strata::Object
{
public:
    DragContainer();
    ~DragContainer() override;
    Strata::Label GetName() const override;

    Strata::ObjectID getContainedObject() const { return mContainedObject; }
    void setContainedObject(Strata::ObjectID id) { mContainedObject = id; }
    // Forgets the contained object, but only when it is `id`.
    void clearContainedObject(Strata::ObjectID id);

private:
    Strata::ObjectID mContainedObject;
};

// Holds the ID of the item picked up.
class DragSourceContainer : public DragContainer
{
public:
    ~DragSourceContainer() override;
    Strata::Label GetName() const override;
    // The container of the current database, made on first use; null when there is no database.
    static DragSourceContainer* GetInstance();
};

// Holds the ID of the place under the pointer.
class DragTargetContainer : public DragContainer
{
public:
    ~DragTargetContainer() override;
    Strata::Label GetName() const override;
    // The container of the current database, made on first use; null when there is no database.
    static DragTargetContainer* GetInstance();
};

template <class T>
class DragSource;
template <class T>
class DragTarget;

template <class T>
class DragTarget<T*> : public virtual Strata::Object
{
public:
    // Called when an item of this type is put down here.
    virtual void DropActivated(T* item) { (void)item; }
    // Called on a press over this place while `item` is carried (HeldItem.h), before any drop: true
    // when the place dealt with the press itself (it used the item where it is, as a nail struck with
    // the tool in hand), and the item is not dropped; false lets the press drop it here.
    virtual bool UseInPlace(T* item)
    {
        (void)item;
        return false;
    }
    virtual ~DragTarget() = default;

    // Makes this place the current target, replacing any other.
    void DragEnter()
    {
        DragTargetContainer* container = DragTargetContainer::GetInstance();
        if (container != nullptr && !GetID().IsInvalid())
            container->setContainedObject(GetID());
    }
    // Clears the current target when it is this place.
    void DragLeave()
    {
        if (DragTargetContainer* container = DragTargetContainer::GetInstance())
            container->clearContainedObject(GetID());
    }
    // The current target; null when there is none, it is gone, or it takes another item type.
    static DragTarget<T*>* GetCurrentDragTarget()
    {
        DragTargetContainer* container = DragTargetContainer::GetInstance();
        return container != nullptr ? Strata::GetObject<DragTarget<T*>>(container->getContainedObject()) : nullptr;
    }
};

template <class T>
class DragSource<T*> : public virtual Strata::Object
{
public:
    explicit DragSource(T* item) : mItem(item) {}
    virtual ~DragSource() = default;

    T* GetDragItem() const { return mItem; }

    // Picks this item up; an item of the same type that was held is sent back first. An item that is
    // in no database cannot be picked up.
    void Drag()
    {
        DragSourceContainer* container = DragSourceContainer::GetInstance();
        if (container == nullptr || GetID().IsInvalid())
            return;
        DoOnStartDragging();
        if (DragSource<T*>* held = GetHeldDragSource_Mutable())
            held->DoOnCancel();
        container->setContainedObject(GetID());
    }

    // Puts this item down on the current target, or sends it back when there is none (or it takes
    // another item type). Does nothing unless this item is the one held.
    void Release()
    {
        DragSourceContainer* container = DragSourceContainer::GetInstance();
        if (container == nullptr || Strata::GetObject<Strata::Object>(container->getContainedObject()) == nullptr)
            return;
        if (container->getContainedObject() != GetID())
            return;
        if (DragTarget<T*>* target = DragTarget<T*>::GetCurrentDragTarget())
        {
            target->DropActivated(mItem);
            container->clearContainedObject(GetID());
            DoOnReleased();
        }
        else
        {
            container->clearContainedObject(GetID());
            DoOnCancel();
        }
    }

    // Sends this item back, whatever place is under the pointer. Does nothing unless it is the one held.
    void Cancel()
    {
        DragSourceContainer* container = DragSourceContainer::GetInstance();
        if (container == nullptr || GetID().IsInvalid() || container->getContainedObject() != GetID())
            return;
        container->clearContainedObject(GetID());
        DoOnCancel();
    }

    // The held item when it is alive and of this type, else null.
    static const DragSource<T*>* GetHeldDragSource() { return GetHeldDragSource_Mutable(); }
    static DragSource<T*>* GetHeldDragSource_Mutable()
    {
        DragSourceContainer* container = DragSourceContainer::GetInstance();
        return container != nullptr ? Strata::GetObject<DragSource<T*>>(container->getContainedObject()) : nullptr;
    }

protected:
    virtual void DoOnStartDragging() {}
    virtual void DoOnCancel() {}
    virtual void DoOnReleased() {}

private:
    T* const mItem;
};

} // namespace Yardcrew
