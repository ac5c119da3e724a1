#include "game/DragAndDrop.h"

#include "framework/ObjectDatabase.h"

#include <memory>

namespace Yardcrew
{

namespace
{

// The named container of the current database, added on first use; null without a database.
template <class Container>
Container* FindOrAddContainer(Strata::Label name)
{
    Strata::ObjectDatabase* database = Strata::GetObjectDatabase();
    if (database == nullptr)
        return nullptr;
    if (Container* found = Strata::AutoObject<Container>(name).Get())
        return found;
    auto container = std::make_unique<Container>();
    database->AddObject(container.get()); // the database owns it from here
    container.release();
    return Strata::AutoObject<Container>(name).Get();
}

} // namespace

DragContainer::DragContainer() = default;
DragContainer::~DragContainer() = default;

Strata::Label DragContainer::GetName() const
{
    return Strata::Label();
}

void DragContainer::clearContainedObject(Strata::ObjectID id)
{
    if (mContainedObject == id)
        mContainedObject = Strata::ObjectID();
}

DragSourceContainer::~DragSourceContainer() = default;

Strata::Label DragSourceContainer::GetName() const
{
    return Strata::Label("DRAG_SOURCE_CONTAINER");
}

DragSourceContainer* DragSourceContainer::GetInstance()
{
    // Not cached: a label kept across the label table's shut-down would dangle.
    const Strata::Label name("DRAG_SOURCE_CONTAINER");
    return FindOrAddContainer<DragSourceContainer>(name);
}

DragTargetContainer::~DragTargetContainer() = default;

Strata::Label DragTargetContainer::GetName() const
{
    return Strata::Label("DRAG_TARGET_CONTAINER");
}

DragTargetContainer* DragTargetContainer::GetInstance()
{
    // Not cached: a label kept across the label table's shut-down would dangle.
    const Strata::Label name("DRAG_TARGET_CONTAINER");
    return FindOrAddContainer<DragTargetContainer>(name);
}

} // namespace Yardcrew
