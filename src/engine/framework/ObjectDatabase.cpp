#include "framework/ObjectDatabase.h"

#include "core/Log.h"
#include "core/RuntimeError.h"
#include "framework/ObjectInterfaces.h"
#include "framework/Platform.h"

#include <algorithm>
#include <cstdlib>
#include <cxxabi.h>
#include <functional>
#include <memory>
#include <typeinfo>

namespace Strata
{

namespace
{

constexpr uint32_t kMaxGeneration = 0xFFFFu;

// The index of the last slot with the last generation would spell the invalid ID: skip it.
uint32_t NextGeneration(const ObjectID& previous, uint32_t index)
{
    if (previous.IsInvalid())
        return 0;
    uint32_t generation = (previous.GetGeneration() + 1) & kMaxGeneration;
    if (index == 0xFFFFu && generation == kMaxGeneration)
        generation = 0;
    return generation;
}

} // namespace

ObjectID ObjectDatabase::NextID(ObjectID previous, uint32_t index)
{
    return ObjectID(index, NextGeneration(previous, index));
}

namespace
{

void RemoveID(std::vector<ObjectID>& ids, ObjectID id)
{
    ids.erase(std::remove(ids.begin(), ids.end(), id), ids.end());
}

} // namespace

ObjectDatabase::ObjectDatabase()
{
    mSlots.reserve(256);
}

ObjectDatabase::~ObjectDatabase()
{
    if (IsLogDetailOn())
    {
        int status = 0;
        std::unique_ptr<char, void (*)(void*)> typeName(
            abi::__cxa_demangle(typeid(*this).name(), nullptr, nullptr, &status), std::free);
        Internal::LogDetail("Destroying ObjectDatabase (%s): Final Size = %d\n",
                            status == 0 && typeName ? typeName.get() : typeid(*this).name(),
                            static_cast<int>(mSlots.size()));
    }
    mFocusID = kInvalidObjectID;
    mCaptureID = kInvalidObjectID;
    mHoveredID = kInvalidObjectID;
    for (ObjectDescriptor& slot : mSlots)
        if (slot.mState == ObjectSlot_Alive)
            slot.mState = ObjectSlot_Destroyed;
    // By index with the count read again: an object's destructor may still add or destroy objects.
    for (size_t pass = 0; pass < 4; ++pass)
    {
        bool purged = false;
        for (uint32_t i = 0; i < mSlots.size(); ++i)
        {
            if (mSlots[i].mState == ObjectSlot_Alive)
                mSlots[i].mState = ObjectSlot_Destroyed;
            if (mSlots[i].mState == ObjectSlot_Destroyed)
            {
                PurgeSlot(i);
                purged = true;
            }
        }
        if (!purged)
            break;
    }
}

ObjectID ObjectDatabase::AddObject(Object* object)
{
    if (!object)
        return kInvalidObjectID;
    const ObjectID known = object->mID;
    if (!known.IsInvalid() && known.GetIndex() < mSlots.size() && mSlots[known.GetIndex()].mObject == object)
    {
        const ObjectDescriptor& slot = mSlots[known.GetIndex()];
        if (slot.mState == ObjectSlot_Alive)
            return known;
        STRATA_THROW(RuntimeError, "ObjectDatabase::AddObject: the object is waiting to be deleted.");
    }
    if (mFreeSlots.empty())
    {
        if (mSlots.size() >= kMaxSlots)
            STRATA_THROW(RuntimeError, "ObjectDatabase::AddObject: all 65536 object slots are in use.");
        if (mSlots.size() == mSlots.capacity())
            mSlots.reserve(std::min(mSlots.capacity() * 2, kMaxSlots));
        mSlots.emplace_back();
        mFreeSlots.push_back(static_cast<uint32_t>(mSlots.size() - 1));
    }

    const uint32_t index = mFreeSlots.front();
    mFreeSlots.pop_front();
    ObjectDescriptor& slot = mSlots[index];
    slot.mObject = object;
    slot.mDrawable = dynamic_cast<IDrawable*>(object);
    slot.mBounds = dynamic_cast<IBounds*>(object);
    slot.mInputHandler = dynamic_cast<IInputHandler*>(object);
    slot.mEnable = dynamic_cast<IEnable*>(object);
    slot.mVisible = dynamic_cast<IVisible*>(object);
    slot.mState = ObjectSlot_Alive;
    const ObjectID id = NextID(slot.mID, index);
    slot.mID = id;
    object->mID = id;

    const auto place = std::lower_bound(mUpdateList.begin(), mUpdateList.end(), index,
                                        [](const sUpdateEntry& entry, uint32_t at) { return entry.index < at; });
    mUpdateList.insert(place, sUpdateEntry{object, index});
    ++mUpdateListVersion;
    if (slot.mDrawable)
        mDrawList.push_back(id);
    const Label name = object->GetName();
    if (!name.IsNull())
        mNamedObjects[name] = id;
    ForEachRole(object, id, true);

    object->ReceiveMessageInternal(ObjectMessage(kInvalidObjectID, GetAddMessageName()));
    return id;
}

void ObjectDatabase::ForEachRole(Object* object, ObjectID id, bool add)
{
    // Bounded by the slot table's size so that an object that never answers the null label
    // cannot hang the database.
    for (int i = 0; i < static_cast<int>(kMaxSlots); ++i)
    {
        const Label role = object->GetRole(i);
        if (role.IsNull())
            break;
        if (add)
        {
            mRoles[role].push_back(id);
        }
        else
        {
            auto it = mRoles.find(role);
            if (it != mRoles.end())
                RemoveID(it->second, id);
        }
    }
}

void ObjectDatabase::DestroyObject(ObjectID id)
{
    if (!IsValidObjectID(id))
        return;
    const uint32_t index = id.GetIndex();
    mSlots[index].mState = ObjectSlot_Destroyed;
    Object* object = mSlots[index].mObject;
    mDestroyedSlots.push_back(index);
    if (sUpdateEntry* entry = FindUpdateEntry(index))
    {
        entry->object = nullptr;
        mUpdateListHasHoles = true;
    }

    if (mFocusID == id)
        SetFocus(nullptr);
    if (mCaptureID == id)
        SetCapture(nullptr);
    if (mHoveredID == id)
        mHoveredID = kInvalidObjectID;
    const Label name = object->GetName();
    if (!name.IsNull())
    {
        // Only when the name still names this object: a later object may have taken it over.
        auto it = mNamedObjects.find(name);
        if (it != mNamedObjects.end() && it->second == id)
            mNamedObjects.erase(it);
    }
    object->ReceiveMessageInternal(ObjectMessage(kInvalidObjectID, GetRemoveMessageName()));
}

void ObjectDatabase::DestroyNamedObject(Label name)
{
    auto it = mNamedObjects.find(name);
    if (it != mNamedObjects.end())
        DestroyObject(it->second);
}

bool ObjectDatabase::IsValidObjectID(ObjectID id) const
{
    const uint32_t index = id.GetIndex();
    return !id.IsInvalid() && index < mSlots.size() && mSlots[index].mID == id &&
           mSlots[index].mState == ObjectSlot_Alive;
}

Object* ObjectDatabase::GetObject(ObjectID id) const
{
    return IsValidObjectID(id) ? mSlots[id.GetIndex()].mObject : nullptr;
}

Object* ObjectDatabase::GetNamedObject(Label name) const
{
    auto it = mNamedObjects.find(name);
    return it != mNamedObjects.end() ? GetObject(it->second) : nullptr;
}

std::vector<ObjectID>& ObjectDatabase::GetObjectsWithRole(Label role)
{
    return mRoles[role];
}

ObjectID ObjectDatabase::GetNextObject(sIterator* iterator) const
{
    while (iterator->mIndex < mSlots.size())
    {
        const ObjectDescriptor& slot = mSlots[iterator->mIndex++];
        if (slot.mState == ObjectSlot_Alive)
            return slot.mID;
    }
    return kInvalidObjectID;
}

const ObjectDescriptor& ObjectDatabase::GetObjectDescriptor(ObjectID id) const
{
    return mSlots[id.GetIndex()];
}

float ObjectDatabase::GetLayer(ObjectID id) const
{
    return mSlots[id.GetIndex()].mDrawable->GetLayer();
}

void ObjectDatabase::ReceiveMessage(const ObjectMessage&)
{
}

void ObjectDatabase::Broadcast(const ObjectMessage& message)
{
    ReceiveMessage(message);
    // The count is read at every step: objects a receiver creates in new slots hear it too.
    for (size_t i = 0; i < mSlots.size(); ++i)
        if (mSlots[i].mState == ObjectSlot_Alive)
            mSlots[i].mObject->ReceiveMessageInternal(message);
}

ObjectDatabase::sUpdateEntry* ObjectDatabase::FindUpdateEntry(uint32_t index)
{
    const auto found = std::lower_bound(mUpdateList.begin(), mUpdateList.end(), index,
                                        [](const sUpdateEntry& entry, uint32_t at) { return entry.index < at; });
    return found != mUpdateList.end() && found->index == index ? &*found : nullptr;
}

void ObjectDatabase::Update(float dt)
{
    // In slot order, as objects are added and destroyed: an object added during the walk is reached in it
    // when its slot lies ahead, one destroyed is not updated again. The list is read again at each step.
    // While the version stands no entry has moved (a destroyed object's entry is only nulled), so the walk
    // goes on by pointer without reading the list's bounds again.
    for (size_t position = 0; position < mUpdateList.size();)
    {
        const uint32_t version = mUpdateListVersion;
        const sUpdateEntry* entry = mUpdateList.data() + position;
        const sUpdateEntry* const end = mUpdateList.data() + mUpdateList.size();
        uint32_t index = 0;
        for (; entry != end; ++entry)
        {
            Object* object = entry->object;
            if (object == nullptr)
                continue;
            index = entry->index;
            object->UpdateInternal(dt);
            if (mUpdateListVersion != version)
                break;
        }
        if (entry == end)
            break;
        position = static_cast<size_t>(std::upper_bound(mUpdateList.begin(), mUpdateList.end(), index,
                                                        [](uint32_t at, const sUpdateEntry& other)
                                                        { return at < other.index; }) -
                                       mUpdateList.begin());
    }
    if (!mDestroyedSlots.empty())
        PurgeDestroyed();
    // The entries of the objects just deleted, and of those destroyed meanwhile, which wait for the next purge.
    if (mUpdateListHasHoles)
    {
        mUpdateList.erase(std::remove_if(mUpdateList.begin(), mUpdateList.end(),
                                         [](const sUpdateEntry& entry) { return entry.object == nullptr; }),
                          mUpdateList.end());
        mUpdateListHasHoles = false;
        ++mUpdateListVersion;
    }
    // The layers are read before sorting: a drawable's GetLayer is user code. The keys' buffer is kept,
    // and the list is sorted by insertion, stable and without a buffer of its own: it is nearly in
    // order already from the last update, so a steady update sorts in one pass and allocates nothing.
    mDrawKeys.clear();
    for (ObjectID id : mDrawList)
        mDrawKeys.emplace_back(GetLayer(id), id);
    for (size_t i = 1; i < mDrawKeys.size(); ++i)
    {
        const std::pair<float, ObjectID> key = mDrawKeys[i];
        size_t j = i;
        for (; j > 0 && key.first < mDrawKeys[j - 1].first; --j)
            mDrawKeys[j] = mDrawKeys[j - 1];
        mDrawKeys[j] = key;
    }
    for (size_t i = 0; i < mDrawKeys.size(); ++i)
        mDrawList[i] = mDrawKeys[i].second;
}

void ObjectDatabase::PurgeDestroyed()
{
    // As a walk of the whole table in slot order would: a slot destroyed meanwhile (by a destructor) is
    // purged in this walk when it lies ahead, else at the next update.
    const auto later = std::greater<uint32_t>();
    uint32_t next = 0;
    for (;;)
    {
        for (const uint32_t index : mDestroyedSlots)
        {
            mPurgeOrder.push_back(index);
            std::push_heap(mPurgeOrder.begin(), mPurgeOrder.end(), later);
        }
        mDestroyedSlots.clear();
        if (mPurgeOrder.empty())
            break;
        std::pop_heap(mPurgeOrder.begin(), mPurgeOrder.end(), later);
        const uint32_t index = mPurgeOrder.back();
        mPurgeOrder.pop_back();
        if (index < next)
        {
            mPurgeDeferred.push_back(index);
            continue;
        }
        next = index + 1;
        if (mSlots[index].mState == ObjectSlot_Destroyed)
            PurgeSlot(index);
    }
    mDestroyedSlots.swap(mPurgeDeferred);
}

void ObjectDatabase::PurgeSlot(uint32_t index)
{
    Object* object = mSlots[index].mObject;
    const ObjectID id = mSlots[index].mID;
    if (mSlots[index].mDrawable)
        RemoveID(mDrawList, id);
    if (object)
        ForEachRole(object, id, false);
    ObjectDescriptor& slot = mSlots[index];
    slot.mObject = nullptr;
    slot.mDrawable = nullptr;
    slot.mBounds = nullptr;
    slot.mInputHandler = nullptr;
    slot.mEnable = nullptr;
    slot.mVisible = nullptr;
    slot.mState = ObjectSlot_Purged;
    mFreeSlots.push_back(index);
    // Last, with the slot already free: the destructor may add or destroy objects.
    delete object;
}

void ObjectDatabase::Draw()
{
    const size_t count = mDrawList.size();
    for (size_t i = 0; i < count && i < mDrawList.size(); ++i)
    {
        const ObjectDescriptor& slot = mSlots[mDrawList[i].GetIndex()];
        if (slot.mState != ObjectSlot_Destroyed && slot.mDrawable)
            slot.mDrawable->Draw();
    }
}

void ObjectDatabase::SetFocus(Object* object)
{
    const ObjectID newID = object ? object->mID : kInvalidObjectID;
    if (object && newID == mFocusID && IsValidObjectID(newID))
        return;
    if (!object && mFocusID.IsInvalid())
        return;
    // Not GetObject: an object being destroyed still hears that it lost the focus.
    Object* old = nullptr;
    if (!mFocusID.IsInvalid() && mFocusID.GetIndex() < mSlots.size())
    {
        const ObjectDescriptor& slot = mSlots[mFocusID.GetIndex()];
        if (slot.mID == mFocusID && (slot.mState == ObjectSlot_Alive || slot.mState == ObjectSlot_Destroyed))
            old = slot.mObject;
    }
    if (old && old != object && mLosingFocusID != mFocusID)
    {
        // Still the focus while it hears that it lost it, so its handler can ask who had it. A focus
        // change the handler makes has the last word; the object is not told twice meanwhile.
        const ObjectID oldID = mFocusID;
        mLosingFocusID = oldID;
        old->ReceiveMessageInternal(ObjectMessage(kInvalidObjectID, GetLostFocusMessageName()));
        mLosingFocusID = kInvalidObjectID;
        if (mFocusID != oldID)
            return;
    }
    mFocusID = kInvalidObjectID;
    if (object)
    {
        mFocusID = newID;
        object->ReceiveMessageInternal(ObjectMessage(kInvalidObjectID, GetReceivedFocusMessageName()));
    }
}

Object* ObjectDatabase::GetFocus() const
{
    return GetObject(mFocusID);
}

void ObjectDatabase::SetCapture(Object* object)
{
    mCaptureID = object ? object->mID : kInvalidObjectID;
    if (IPlatform* platform = GetPlatform())
    {
        if (object)
            platform->CaptureMouse();
        else
            platform->ReleaseMouse();
    }
}

Object* ObjectDatabase::GetCapture() const
{
    return GetObject(mCaptureID);
}

bool ObjectDatabase::IsInputTarget(ObjectID id) const
{
    if (!IsValidObjectID(id))
        return false;
    const ObjectDescriptor& slot = mSlots[id.GetIndex()];
    return slot.mInputHandler && (!slot.mEnable || slot.mEnable->IsEnabled()) &&
           (!slot.mVisible || slot.mVisible->IsVisible());
}

template <class Call>
MessageResult ObjectDatabase::SendInput(ObjectID id, Call&& call)
{
    if (!IsInputTarget(id))
        return MessageResult_Unhandled;
    return call(mSlots[id.GetIndex()].mInputHandler);
}

template <class Call>
MessageResult ObjectDatabase::RouteInputEvent(ObjectID target, bool exclusive, Call&& call)
{
    if (SendInput(target, call) == MessageResult_Handled)
        return MessageResult_Handled;
    if (exclusive && IsInputTarget(target))
        return MessageResult_Handled;
    // Highest layer first. Entries appended by a handler lie past the start and are not reached.
    for (size_t i = mDrawList.size(); i-- > 0;)
    {
        if (i >= mDrawList.size())
            continue;
        const ObjectID id = mDrawList[i];
        if (id != target && SendInput(id, call) == MessageResult_Handled)
            return MessageResult_Handled;
    }
    for (size_t i = 0; i < mSlots.size(); ++i)
    {
        const ObjectDescriptor& slot = mSlots[i];
        if (slot.mState != ObjectSlot_Alive || slot.mDrawable)
            continue;
        const ObjectID id = slot.mID;
        if (id != target && SendInput(id, call) == MessageResult_Handled)
            return MessageResult_Handled;
    }
    return MessageResult_Unhandled;
}

MessageResult ObjectDatabase::OnKeyDown(int key)
{
    return RouteInputEvent(
        mFocusID, false, [key](IInputHandler* handler) { return handler->OnKeyDown(key); });
}

MessageResult ObjectDatabase::OnKeyUp(int key)
{
    return RouteInputEvent(
        mFocusID, false, [key](IInputHandler* handler) { return handler->OnKeyUp(key); });
}

MessageResult ObjectDatabase::OnTextInput(const std::wstring& text)
{
    return RouteInputEvent(
        mFocusID, true, [&text](IInputHandler* handler) { return handler->OnTextInput(text); });
}

MessageResult ObjectDatabase::OnMouseMove(int x, int y)
{
    UpdateHover(x, y);
    return RouteInputEvent(mCaptureID, true, [x, y](IInputHandler* handler) { return handler->OnMouseMove(x, y); });
}

MessageResult ObjectDatabase::OnMouseDown(MouseButton button, int x, int y)
{
    return RouteInputEvent(
        mCaptureID, true, [button, x, y](IInputHandler* handler) { return handler->OnMouseDown(button, x, y); });
}

MessageResult ObjectDatabase::OnMouseUp(MouseButton button, int x, int y)
{
    return RouteInputEvent(
        mCaptureID, true, [button, x, y](IInputHandler* handler) { return handler->OnMouseUp(button, x, y); });
}

MessageResult ObjectDatabase::OnMouseWheel(float amount, int x, int y)
{
    return RouteInputEvent(
        mCaptureID, true, [amount, x, y](IInputHandler* handler) { return handler->OnMouseWheel(amount, x, y); });
}

MessageResult ObjectDatabase::OnMouseLeave()
{
    if (!mHoveredID.IsInvalid())
        LeaveHover();
    return MessageResult_Unhandled;
}

void ObjectDatabase::UpdateHover(int x, int y)
{
    const float fx = static_cast<float>(x);
    const float fy = static_cast<float>(y);
    for (size_t i = mDrawList.size(); i-- > 0;)
    {
        if (i >= mDrawList.size())
            continue;
        const ObjectID id = mDrawList[i];
        if (!IsInputTarget(id))
            continue;
        IBounds* bounds = mSlots[id.GetIndex()].mBounds;
        if (!bounds)
            continue;
        if (bounds->BoundsContains(fx, fy))
        {
            if (id != mHoveredID)
                EnterHover(id);
            return;
        }
        if (id == mHoveredID)
            LeaveHover();
    }
}

void ObjectDatabase::EnterHover(ObjectID id)
{
    if (!mHoveredID.IsInvalid())
        LeaveHover();
    mHoveredID = id;
    SendMessage(ObjectMessage(id, GetControlEnterMessageName()));
}

void ObjectDatabase::LeaveHover()
{
    const ObjectID id = mHoveredID;
    // Still the hovered control during the broadcast, so a receiver can ask which one it was.
    SendMessage(ObjectMessage(id, GetControlLeaveMessageName()));
    if (mHoveredID == id)
        mHoveredID = kInvalidObjectID;
}

} // namespace Strata
