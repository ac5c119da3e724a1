// Feeds arbitrary bytes to the resource manager as a manifest, read on the caller's thread: a factory
// reads each resource's sub-tree (and fails when asked to), aliases and names taken by another manifest
// are resolved, and unloading the manifest leaves none of its resources behind.

#include "FuzzSupport.h"

#include "core/Label.h"
#include "core/MemoryStream.h"
#include "core/RuntimeError.h"
#include "core/XMLReader.h"
#include "framework/ResourceDescriptor.h"
#include "framework/ResourceManager.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <string>

using namespace Strata;
using Strata::Fuzzing::Check;

namespace
{

// "res": reads its whole sub-tree; "fail" makes it throw, "none" makes it return nothing.
class SubtreeFactory final : public IResourceFactory
{
public:
    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
                                        IXMLReader& element) const override
    {
        XMLElementList subtree;
        CopyAllElements(element, &subtree);
        while (!subtree.IsEOF())
            subtree.ReadElement();
        if (attributes.HasAttribute(L"fail"))
            STRATA_THROW(RuntimeError, std::string("asked to fail"));
        if (attributes.HasAttribute(L"none"))
            return nullptr;
        return std::make_unique<ResourceDescriptor>(manifest, name, attributes).release();
    }
};

// "leaf": reads nothing of its sub-tree, so its children are walked as declarations.
class LeafFactory final : public IResourceFactory
{
public:
    IResourceDescriptor* CreateResource(const std::wstring& manifest, Label name, const IAttributeContainer& attributes,
                                        IXMLReader&) const override
    {
        return std::make_unique<ResourceDescriptor>(manifest, name, attributes).release();
    }
};

const char kOtherManifest[] = "<manifest><res name=\"taken\"/></manifest>";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static ResourceManager* const manager = []
    {
        ResourceManager* created = GetResourceManager();
        created->AddResourceFactory(L"res", std::make_unique<SubtreeFactory>().release());
        created->AddResourceFactory(L"leaf", std::make_unique<LeafFactory>().release());
        ReadOnlyMemoryStream other(L"Other.xml", kOtherManifest, sizeof(kOtherManifest) - 1);
        created->LoadFromStream(&other, L"Other");
        return created;
    }();

    ReadOnlyMemoryStream stream(L"Fuzz.xml", data, size);
    try
    {
        manager->LoadFromStream(&stream, L"Fuzz");
    }
    catch (const std::exception&)
    {
        // A damaged manifest, a factory's error or a name of the other manifest: reported, not fatal.
    }
    Check(manager->GetLoadCount(L"Fuzz") == 1);
    Check(manager->GetResource(Label("taken")) != nullptr);
    manager->Unload(L"Fuzz");
    Check(manager->GetLoadCount(L"Fuzz") == 0);
    for (const char* name : {"a", "b", "c", "alias"})
        Check(manager->GetResource(Label(name)) == nullptr);
    Check(manager->GetResource(Label("taken")) != nullptr);
    return 0;
}
