#pragma once

#include "core/Label.h"
#include "framework/ResourceDescriptor.h"

#include <memory>

namespace Strata
{

class IAttributeContainer;

// A float layout attribute; the default when absent or not finite.
float FiniteLayoutAttribute(const IAttributeContainer& element, const wchar_t* name, float defaultValue);

// A resource a node draws with, and the descriptor that keeps it alive while the node holds it, so
// unloading its manifest cannot free it under the node.
template <class T>
struct HeldResource
{
    const T* resource = nullptr;
    std::shared_ptr<IResourceDescriptor> holder;
};

// Writes `<nodeType>: <kind> "<name>" not found` the first time a node type misses that resource; the
// node then draws nothing. Any thread.
void ReportMissingNodeResource(const char* nodeType, const char* kind, Label name);

// The resource of that name as a T. A null or empty name is no resource (and no error); a name that
// finds nothing, or something else than a T, is reported once.
template <class T>
HeldResource<T> FindNodeResource(const char* nodeType, const char* kind, Label name)
{
    HeldResource<T> found;
    if (name.IsNull() || *name.c_str() == '\0')
        return found;
    AutoResource<T> handle(name);
    found.resource = handle.Get();
    if (found.resource == nullptr)
    {
        ReportMissingNodeResource(nodeType, kind, name);
        return found;
    }
    found.holder = handle.GetDescriptor();
    return found;
}

} // namespace Strata
