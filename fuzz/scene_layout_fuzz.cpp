// Feeds arbitrary bytes to the scene-layout parser as a "scenelayout" element, the way the resource
// manager hands one over, and checks what a damaged layout must never cost: a failure names the layout
// and leaves nothing behind, and a parsed layout instantiates into exactly as many nodes as it
// describes, which are then freed again.

#include "core/MemoryStream.h"
#include "core/RuntimeError.h"
#include "core/XMLReader.h"
#include "framework/ResourceDescriptor.h"
#include "framework/ResourceManager.h"
#include "scene/MeterNodes.h"
#include "scene/SceneLayout.h"
#include "scene/SceneNode.h"
#include "scene/SceneNodeFactories.h"
#include "scene/ScrollBarNode.h"
#include "scene/StrataExtensions.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

using namespace Strata;

namespace
{

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// A layout "Ref" of three nodes for "sceneref" elements to name.
constexpr char kManifest[] = R"(<manifest>
<scenelayout name="Ref"><scenenode width="4"><scenenode/><scenenode/></scenenode></scenelayout>
</manifest>)";
constexpr size_t kRefNodes = 3;

// A "sceneref" stands for the whole referenced tree, its own children hung under that tree's root.
size_t CountDescribed(const SceneLayout::LayoutDescriptor& descriptor)
{
    const bool reference = dynamic_cast<const SceneRefDescriptor*>(descriptor.nodeDescriptor.get()) != nullptr;
    const SceneNodeDescriptor* own = descriptor.nodeDescriptor.get();
    size_t count = reference ? kRefNodes : 1;
    // Node types that make children of their own: the fraction meter's text, the scroll bar's arrows.
    if (dynamic_cast<const FractionTextMeterNodeDescriptor*>(own) != nullptr)
        count += 1;
    else if (dynamic_cast<const ScrollBarNodeDescriptor*>(own) != nullptr)
        count += 2;
    for (const auto& child : descriptor.children)
        count += CountDescribed(*child);
    return count;
}

size_t CountNodes(const SceneNode& node)
{
    size_t count = 1;
    for (const SceneNode* child : node.GetChildren())
        count += CountNodes(*child);
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = []
    {
        SetupStrataExtensions();
        ReadOnlyMemoryStream manifest(L"fuzz", kManifest, std::strlen(kManifest));
        GetResourceManager()->LoadFromStream(&manifest, L"FuzzRefs");
        return true;
    }();
    (void)ready;

    ReadOnlyMemoryStream stream(L"layout.xml", data, size);
    std::unique_ptr<IXMLReader> document = CreateXMLReader(&stream);
    std::unique_ptr<IResourceDescriptor> resource;
    try
    {
        // Like the manager: the first start element is the resource's own.
        while (!document->IsEOF())
        {
            const XMLElement* element = document->ReadElement();
            if (element != nullptr && element->IsStartElement())
                break;
        }
        const XMLElement* own = document->GetCurrentElement();
        if (own == nullptr || !own->IsStartElement())
            return 0;
        XMLElementReader reader(document.get());
        resource.reset(SceneLayoutResourceFactory().CreateResource(L"fuzz", Label("Fuzz"), *own, reader));
    }
    catch (const SceneLayoutException& error)
    {
        Check(std::strncmp(error.what(), "in SceneLayout \"Fuzz\": ", 23) == 0);
        return 0;
    }
    catch (const XMLError&)
    {
        return 0;
    }

    const auto* layout = dynamic_cast<const SceneLayout*>(resource.get());
    Check(layout != nullptr && layout->GetRootDescriptor() != nullptr);
    SceneTreePtr tree = layout->InstantiateLayout(static_cast<SceneNode*>(nullptr));
    Check(tree != nullptr);
    Check(CountNodes(*tree) == CountDescribed(*layout->GetRootDescriptor()));
    return 0;
}
