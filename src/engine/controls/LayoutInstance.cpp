#include "controls/LayoutInstance.h"

#include <list>

namespace Strata
{

LayoutInstance::LayoutInstance(Label name, Layout* layout) : mName(name), mLayout(layout)
{
    mObjectIDs.reserve(8);
}

Label LayoutInstance::GetRole() const
{
    static const Label role("Strata::LayoutInstance");
    return role;
}

void LayoutInstance::SetLocation(const Vector2<float>& location)
{
    const Vector2<float> delta = location - LocationComponent::GetLocation();
    LocationComponent::SetLocation(location);
    std::list<ILocation*> objects;
    GetObjects(mObjectIDs, objects);
    for (ILocation* object : objects)
        object->SetLocation(object->GetLocation() + delta);
}

void LayoutInstance::Enable(bool enable)
{
    EnableComponent::Enable(enable);
    std::list<IEnable*> objects;
    GetObjects(mObjectIDs, objects);
    for (IEnable* object : objects)
        object->Enable(enable);
}

void LayoutInstance::SetVisible(bool visible)
{
    VisibleComponent::SetVisible(visible);
    std::list<IVisible*> objects;
    GetObjects(mObjectIDs, objects);
    for (IVisible* object : objects)
        object->SetVisible(visible);
}

void LayoutInstance::SetAlpha(float alpha)
{
    ColorComponent::SetAlpha(alpha);
    std::list<IAlpha*> objects;
    GetObjects(mObjectIDs, objects);
    for (IAlpha* object : objects)
        object->SetAlpha(alpha);
}

void LayoutInstance::SetColor(const ColorF& color)
{
    ColorComponent::SetColor(color);
    std::list<IColor*> objects;
    GetObjects(mObjectIDs, objects);
    for (IColor* object : objects)
        object->SetColor(color);
}

} // namespace Strata
