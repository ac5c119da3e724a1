#pragma once

#include "core/Label.h"
#include "framework/Object.h"
#include "framework/ObjectDatabase.h"
#include "framework/ObjectID.h"

#include <algorithm>
#include <list>
#include <type_traits>

namespace Strata
{

// The live object with this ID in the current database, as an I; null when there is none, it is
// gone, or it lacks the interface.
template <class I>
I* GetObject(ObjectID id)
{
    ObjectDatabase* database = GetObjectDatabase();
    Object* object = database ? database->GetObject(id) : nullptr;
    return dynamic_cast<I*>(object);
}

// Every live object of `ids` that has the interface, in the order of `ids`.
template <class Container, class I>
void GetObjects(const Container& ids, std::list<I*>& out)
{
    for (const ObjectID& id : ids)
        out.push_back(GetObject<I>(id));
    out.remove(nullptr);
}

// A non-owning handle resolved once, at construction, in the current database: by name or by ID.
// Null when the object is missing or of another type. It does not follow later changes.
template <class T>
class AutoObject
{
public:
    explicit AutoObject(Label name)
    {
        ObjectDatabase* database = GetObjectDatabase();
        mObject = Cast(database ? database->GetNamedObject(name) : nullptr);
    }

    explicit AutoObject(ObjectID id)
    {
        ObjectDatabase* database = GetObjectDatabase();
        mObject = Cast(database ? database->GetObject(id) : nullptr);
    }

    T* Get() const { return mObject; }
    T* operator->() const { return mObject; }
    T& operator*() const { return *mObject; }
    explicit operator bool() const { return mObject != nullptr; }
    operator T*() const { return mObject; }

private:
    static T* Cast(Object* object)
    {
        if constexpr (std::is_same_v<T, Object>)
            return object;
        else
            return dynamic_cast<T*>(object);
    }

    T* mObject = nullptr;
};

} // namespace Strata
