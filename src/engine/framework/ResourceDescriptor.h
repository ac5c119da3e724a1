#pragma once

#include "core/AttributeContainer.h"
#include "core/Label.h"
#include "framework/ResourceManager.h"

#include <memory>
#include <string>

namespace Strata
{

// The base of every resource: its manifest, its name and a copy of its declaring element's attributes,
// so any resource can be read later as an attribute set.
class ResourceDescriptor : public IResourceDescriptor, public AttributeContainer
{
public:
    ResourceDescriptor(const std::wstring& manifest, const Label& name, const IAttributeContainer& attributes);
    ~ResourceDescriptor() override;

    std::wstring GetManifest() const override;
    Label GetName() const override;

private:
    std::wstring mManifest;
    Label mName;
};

// A descriptor that is also the resource: the factory fills the default-constructed T part, and a
// handle reaches it by a run-time cast from the descriptor.
template <class T>
class ResourceWrapper : public ResourceDescriptor, public T
{
public:
    ResourceWrapper(const std::wstring& manifest, const Label& name, const IAttributeContainer& attributes)
        : ResourceDescriptor(manifest, name, attributes), T()
    {
    }
};

// A handle to the resource of a name, taken as a T. It shares ownership of the resource, so the
// resource stays alive while the handle lives, even after its manifest is unloaded or reloaded.
// The resource is null when no resource has the name or it is not a T.
template <class T>
class AutoResource
{
public:
    explicit AutoResource(Label name) { Find(name); }
    // A null name finds nothing.
    explicit AutoResource(const char* name) { Find(Label(name)); }
    explicit AutoResource(const std::string& name) { Find(Label::FromString(name)); }

    T* Get() const { return mResource; }
    operator T*() const { return mResource; }
    // Only valid when the resource is not null.
    T* operator->() const { return mResource; }
    // The descriptor found under the name, whatever its type; null when there is none.
    const std::shared_ptr<IResourceDescriptor>& GetDescriptor() const { return mDescriptor; }

private:
    void Find(Label name)
    {
        if (name.IsNull())
            return;
        mDescriptor = GetResourceManager()->GetResource(name);
        mResource = dynamic_cast<T*>(mDescriptor.get());
    }

    std::shared_ptr<IResourceDescriptor> mDescriptor;
    T* mResource = nullptr;
};

} // namespace Strata
