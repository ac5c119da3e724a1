#include "scene/ScrollBarNode.h"

#include "core/AttributeContainer.h"
#include "graphics/Brush.h"
#include "graphics/Context.h"
#include "graphics/ImageList.h"
#include "scene/ButtonNode.h"
#include "scene/NodeResources.h"
#include "scene/WidgetNodeSupport.h"

#include <string>

namespace Strata
{

namespace
{

constexpr const char* kNodeType = "ScrollBarNode";

Label ArrowName(Label scrollBar, const char* suffix)
{
    return Label::FromString(std::string(scrollBar.c_str()) + suffix);
}

} // namespace

ScrollBarNode::ScrollBarNode(Label name, const Vector2<float>& location, const IImageList* channelImages,
                             const IImageList* thumbImages, const IImageList* upArrowImages,
                             const IImageList* downArrowImages, float height)
    : SceneNode(name), mChannelImages(channelImages), mLocation(location), mThumbImages(thumbImages)
{
    LocalSetLocation(location);
    SetWidth(channelImages != nullptr ? static_cast<float>(channelImages->GetImageWidth(0)) : 0.0f);
    SetHeight(height);
    const ColorF& black = ColorF::StaticColor<0, 0, 0, 255>();
    auto up = std::make_unique<ButtonNode>(ArrowName(name, "ScrollUp"), upArrowImages, 0.0f, nullptr, nullptr, black);
    auto down =
        std::make_unique<ButtonNode>(ArrowName(name, "ScrollDown"), downArrowImages, 0.0f, nullptr, nullptr, black);
    up->LocalSetLocation(0.0f, 0.0f);
    const float downHeight = downArrowImages != nullptr ? static_cast<float>(downArrowImages->GetImageHeight(0)) : 0.0f;
    down->LocalSetLocation(0.0f, height - downHeight);
    // From here the tree owns them: they are deleted with the scroll bar, or by its database.
    AttachChild(up.release());
    AttachChild(down.release());
}

void ScrollBarNode::DrawAt(const Vector2<float>& offset)
{
    if (!GlobalIsVisible() || mChannelImages == nullptr)
        return;
    const Rect<float>& bounds = GlobalGetBounds();
    // The drawing calls take the list as changeable; they only read it.
    Graphics::DrawThreeBrushVertical(const_cast<IImageList*>(mChannelImages), bounds.x + offset.x, bounds.y + offset.y,
                                     GetHeight(), WidgetDrawState(*this), Graphics::GetCanvas());
}

std::unique_ptr<SceneNodeDescriptor> ScrollBarNodeFactory::CreateDescriptor(const IAttributeContainer& element) const
{
    auto descriptor = std::make_unique<ScrollBarNodeDescriptor>();
    descriptor->channelImages = Label::FromString(element.GetAttribute(L"channelImages"));
    descriptor->thumbImages = Label::FromString(element.GetAttribute(L"thumbImages"));
    descriptor->upArrowImages = Label::FromString(element.GetAttribute(L"upArrowImages"));
    descriptor->downArrowImages = Label::FromString(element.GetAttribute(L"downArrowImages"));
    descriptor->height = FiniteLayoutAttribute(element, L"height", 0.0f);
    return descriptor;
}

SceneTreePtr ScrollBarNodeFactory::CreateNode(const SceneNodeDescriptor* descriptor) const
{
    const auto* own = dynamic_cast<const ScrollBarNodeDescriptor*>(descriptor);
    if (own == nullptr)
        return nullptr;
    const auto channel = FindNodeResource<ImageList>(kNodeType, "image list", own->channelImages);
    const auto thumb = FindNodeResource<ImageList>(kNodeType, "image list", own->thumbImages);
    const auto up = FindNodeResource<ImageList>(kNodeType, "image list", own->upArrowImages);
    const auto down = FindNodeResource<ImageList>(kNodeType, "image list", own->downArrowImages);
    auto node = std::make_unique<ScrollBarNode>(Label(), Vector2<float>(), channel.resource, thumb.resource,
                                                up.resource, down.resource, own->height);
    node->HoldResources({channel.holder, thumb.holder, up.holder, down.holder});
    return SceneTreePtr(node.release());
}

} // namespace Strata
