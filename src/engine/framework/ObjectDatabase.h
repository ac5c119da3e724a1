#pragma once

#include "core/Label.h"
#include "framework/InputEvent.h"
#include "framework/Object.h"
#include "framework/ObjectID.h"

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace Strata
{

class IDrawable;
class IBounds;
class IInputHandler;
class IEnable;
class IVisible;

enum eObjectSlotState : uint32_t
{
    ObjectSlot_Unused = 0,
    ObjectSlot_Alive = 1,
    ObjectSlot_Destroyed = 2, // waiting for the purge at the end of the next update
    ObjectSlot_Purged = 3,    // free again; the ID is kept so the next occupant gets a new generation
};

// One slot of the table, with the object's interface views cast once when it is added.
struct ObjectDescriptor
{
    uint32_t mState = ObjectSlot_Unused;
    Object* mObject = nullptr;
    IDrawable* mDrawable = nullptr;
    IBounds* mBounds = nullptr;
    IInputHandler* mInputHandler = nullptr;
    IEnable* mEnable = nullptr;
    IVisible* mVisible = nullptr;
    ObjectID mID;
};

// The objects of one application mode: identifiers, draw order, names, roles, broadcasts and input
// routing. Objects are deleted only at the end of Update or with the database, so any handler or
// task may destroy objects, or add them. Main thread only.
class ObjectDatabase
{
public:
    static constexpr size_t kMaxSlots = 0x10000;

    // The ID a slot's next occupant gets: generation + 1 modulo 65,536, 0 for a never-used slot,
    // never the invalid ID.
    static ObjectID NextID(ObjectID previous, uint32_t index);

    // The walk of GetNextObject: a slot index starting at 0.
    struct sIterator
    {
        uint32_t mIndex = 0;
    };

    ObjectDatabase();
    ObjectDatabase(const ObjectDatabase&) = delete;
    ObjectDatabase& operator=(const ObjectDatabase&) = delete;
    // Deletes every object, in slot order.
    virtual ~ObjectDatabase();

    // Takes ownership and sends the object "Add". An object already alive here keeps its ID.
    // A null object gives the invalid ID. Throws a RuntimeError, without taking ownership, when all
    // 65,536 slots are in use or when the object is still waiting here to be deleted.
    ObjectID AddObject(Object* object);
    // Marks a live object destroyed (it is sent "Remove" and deleted at the end of the next update).
    // Invalid and stale IDs are ignored.
    void DestroyObject(ObjectID id);
    void DestroyNamedObject(Label name);

    // Null unless the ID names a live object.
    Object* GetObject(ObjectID id) const;
    bool IsValidObjectID(ObjectID id) const;
    Object* GetNamedObject(Label name) const;
    // The IDs under the role; an unknown role gets an empty list.
    std::vector<ObjectID>& GetObjectsWithRole(Label role);
    // The next live object's ID, or the invalid ID at the end.
    ObjectID GetNextObject(sIterator* iterator) const;

    // By slot index, without a validity check: the index must be below GetSlotCount().
    const ObjectDescriptor& GetObjectDescriptor(ObjectID id) const;
    float GetLayer(ObjectID id) const;
    size_t GetSlotCount() const { return mSlots.size(); }
    // Drawable objects, sorted by layer at every update.
    const std::vector<ObjectID>& GetDrawList() const { return mDrawList; }

    // To this database's ReceiveMessage, then to every live object in slot order.
    void SendMessage(const ObjectMessage& message);

    virtual void Update(float dt);
    virtual void Draw();

    // The old focus gets "LostFocus" while it still is the focus, then the new one becomes the focus
    // and gets "ReceivedFocus"; nothing when unchanged. When the LostFocus handler changes the focus
    // itself, its change stands and this call ends there.
    void SetFocus(Object* object);
    Object* GetFocus() const;
    // Captures the mouse on the platform for an object, releases it for null.
    void SetCapture(Object* object);
    Object* GetCapture() const;
    ObjectID GetHoveredControl() const { return mHoveredID; }

    // Does nothing; a mode overrides it to hear every broadcast first.
    virtual void ReceiveMessage(const ObjectMessage& message);
    // Input routing: keys to the focus and then every input target; text to the focus alone when
    // it is a target; mouse events to the capture alone when it is a target, else in drawing order.
    virtual MessageResult OnKeyDown(int key);
    virtual MessageResult OnKeyUp(int key);
    virtual MessageResult OnMouseMove(int x, int y);
    virtual MessageResult OnMouseDown(MouseButton button, int x, int y);
    virtual MessageResult OnMouseUp(MouseButton button, int x, int y);
    virtual MessageResult OnMouseWheel(float amount, int x, int y);
    virtual MessageResult OnMouseLeave();
    virtual MessageResult OnTextInput(const std::wstring& text);

private:
    template <class Call>
    MessageResult SendInput(ObjectID id, Call&& call);
    template <class Call>
    MessageResult RouteInputEvent(ObjectID target, bool exclusive, Call&& call);
    bool IsInputTarget(ObjectID id) const;
    void UpdateHover(int x, int y);
    void EnterHover(ObjectID id);
    void LeaveHover();
    void Broadcast(const ObjectMessage& message);
    // The entry of the slot, or null.
    struct sUpdateEntry;
    sUpdateEntry* FindUpdateEntry(uint32_t index);
    // Purges the slots destroyed since the last purge, in slot order.
    void PurgeDestroyed();
    void PurgeSlot(uint32_t index);
    void ForEachRole(Object* object, ObjectID id, bool add);

    std::vector<ObjectDescriptor> mSlots;
    // The objects Update walks, in slot order: a dense list, so that the walk does not read the whole
    // table. A destroyed object's entry is null until the purge drops it.
    struct sUpdateEntry
    {
        Object* object;
        uint32_t index;
    };
    std::vector<sUpdateEntry> mUpdateList;
    // Moves on whenever entries move: a walk then finds its place again by slot index.
    uint32_t mUpdateListVersion = 0;
    // Whether an entry has been nulled since the last purge.
    bool mUpdateListHasHoles = false;
    // The slots destroyed since the last purge, so that the purge does not read the whole table; and the
    // purge's own order and the slots it leaves for the next one, their memory kept between updates.
    std::vector<uint32_t> mDestroyedSlots;
    std::vector<uint32_t> mPurgeOrder;
    std::vector<uint32_t> mPurgeDeferred;
    std::vector<ObjectID> mDrawList;
    // Update's sorting keys, kept between updates.
    std::vector<std::pair<float, ObjectID>> mDrawKeys;
    std::map<Label, ObjectID> mNamedObjects;
    std::map<Label, std::vector<ObjectID>> mRoles;
    std::deque<uint32_t> mFreeSlots;
    ObjectID mFocusID;
    ObjectID mCaptureID;
    ObjectID mHoveredID;
    // The old focus while it is being told "LostFocus".
    ObjectID mLosingFocusID;
};

// The database of the context mode; null when there is no mode.
ObjectDatabase* GetObjectDatabase();

} // namespace Strata
