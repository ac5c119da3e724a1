#include "scene/SceneNodeFactories.h"

#include "core/AttributeContainer.h"
#include "core/WideString.h"
#include "framework/ResourceDescriptor.h"
#include "scene/SceneLayout.h"
#include "scene/SceneNode.h"

#include <cmath>

namespace Strata
{

namespace
{

float FiniteSize(const IAttributeContainer& element, const wchar_t* name)
{
    const float value = element.GetAttribute(name, 0.0f);
    return std::isfinite(value) ? value : 0.0f;
}

} // namespace

std::unique_ptr<SceneNodeDescriptor> BasicSceneNodeFactory::CreateDescriptor(const IAttributeContainer& element) const
{
    auto descriptor = std::make_unique<BasicSceneNodeDescriptor>();
    descriptor->width = FiniteSize(element, L"width");
    descriptor->height = FiniteSize(element, L"height");
    return descriptor;
}

SceneTreePtr BasicSceneNodeFactory::CreateNode(const SceneNodeDescriptor* descriptor) const
{
    const auto* own = dynamic_cast<const BasicSceneNodeDescriptor*>(descriptor);
    if (own == nullptr)
        return nullptr;
    SceneTreePtr node(new SceneNode(Label()));
    node->SetWidth(own->width);
    node->SetHeight(own->height);
    return node;
}

std::unique_ptr<SceneNodeDescriptor> SceneRefFactory::CreateDescriptor(const IAttributeContainer& element) const
{
    const std::string name = TruncateStringWideToASCII(element.GetAttribute(L"scenename").c_str());
    AutoResource<SceneLayout> layout(Label::FromString(name));
    if (layout.Get() == nullptr)
        STRATA_THROW(SceneLayoutException, "sceneref: layout \"" + name + "\" not found");
    auto descriptor = std::make_unique<SceneRefDescriptor>();
    descriptor->sceneName = Label::FromString(name);
    descriptor->held = layout.GetDescriptor();
    return descriptor;
}

SceneTreePtr SceneRefFactory::CreateNode(const SceneNodeDescriptor* descriptor) const
{
    const auto* own = dynamic_cast<const SceneRefDescriptor*>(descriptor);
    if (own == nullptr)
        return nullptr;
    AutoResource<SceneLayout> current(own->sceneName);
    const SceneLayout* layout = current.Get();
    if (layout == nullptr)
        layout = dynamic_cast<const SceneLayout*>(own->held.get());
    return layout != nullptr ? layout->InstantiateLayout(static_cast<SceneNode*>(nullptr)) : nullptr;
}

} // namespace Strata
