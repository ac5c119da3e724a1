#include "scene/ShapeNodes.h"

#include "core/AttributeContainer.h"
#include "graphics/Brush.h"
#include "graphics/Context.h"
#include "graphics/Drawing.h"
#include "graphics/ImageList.h"
#include "scene/NodeResources.h"

namespace Strata
{

namespace
{

// The state shared by the shapes and the background, and their box: the node's own size at its global
// place moved by the offset.
Graphics::sDrawState ShapeState(SceneNode& node, const Vector2<float>& offset, Rect<float>* box)
{
    Graphics::sDrawState state = Graphics::GetDrawState();
    if (node.clipEnabled)
        state.clipRect = node.clipRect;
    const Rect<float>& bounds = node.GlobalGetBounds();
    *box = Rect<float>(bounds.x + offset.x, bounds.y + offset.y, node.GetWidth(), node.GetHeight());
    return state;
}

using ShapeDraw = int (*)(const Rect<float>&, const Graphics::sDrawState&, Graphics::ICanvas*);

// A shape's box in the node's colour, filled or outlined; nothing while the node is hidden.
void DrawShape(SceneNode& node, const Vector2<float>& offset, bool filled, ShapeDraw fill, ShapeDraw outline)
{
    if (!node.GlobalIsVisible())
        return;
    Rect<float> box;
    Graphics::sDrawState state = ShapeState(node, offset, &box);
    state.color = node.GlobalGetColor();
    (filled ? fill : outline)(box, state, Graphics::GetCanvas());
}

template <class Descriptor>
std::unique_ptr<SceneNodeDescriptor> ReadShape(const IAttributeContainer& element)
{
    auto descriptor = std::make_unique<Descriptor>();
    descriptor->width = FiniteLayoutAttribute(element, L"width", 0.0f);
    descriptor->height = FiniteLayoutAttribute(element, L"height", 0.0f);
    descriptor->filled = element.GetAttribute(L"filled", true);
    return descriptor;
}

} // namespace

RectNode::RectNode(float width, float height, bool filled_) : SceneNode(Label()), filled(filled_)
{
    SetWidth(width);
    SetHeight(height);
}

void RectNode::DrawAt(const Vector2<float>& offset)
{
    DrawShape(*this, offset, filled, Graphics::DrawFilledRect, Graphics::DrawLineRect);
}

EllipseNode::EllipseNode(float width, float height, bool filled_) : SceneNode(Label()), filled(filled_)
{
    SetWidth(width);
    SetHeight(height);
}

void EllipseNode::DrawAt(const Vector2<float>& offset)
{
    DrawShape(*this, offset, filled, Graphics::DrawFilledEllipse, Graphics::DrawLineEllipse);
}

BackgroundNode::BackgroundNode(Label name, const Vector2<float>& position, const IImageList* images, float width,
                               float height, std::shared_ptr<IResourceDescriptor> holder)
    : SceneNode(name), mImages(images), mHolder(images ? std::move(holder) : nullptr)
{
    LocalSetLocation(position);
    SetWidth(width);
    SetHeight(height);
}

bool BackgroundNode::CanFocus()
{
    return false;
}

void BackgroundNode::DrawAt(const Vector2<float>& offset)
{
    if (mImages == nullptr || !GlobalIsVisible())
        return;
    Rect<float> box;
    Graphics::sDrawState state = ShapeState(*this, offset, &box);
    // Only the alpha: the slices keep their own colours.
    state.imageColor.a = GlobalGetColor().a;
    // The drawing calls take lists as changeable (a canvas may cache textures); the images stay.
    Graphics::DrawNineBrush(const_cast<IImageList*>(mImages), box.x, box.y, box.width, box.height, state,
                            Graphics::GetCanvas());
}

std::unique_ptr<SceneNodeDescriptor> RectNodeFactory::CreateDescriptor(const IAttributeContainer& element) const
{
    return ReadShape<RectNodeDescriptor>(element);
}

SceneTreePtr RectNodeFactory::CreateNode(const SceneNodeDescriptor* descriptor) const
{
    const auto* own = dynamic_cast<const RectNodeDescriptor*>(descriptor);
    return own ? SceneTreePtr(new RectNode(own->width, own->height, own->filled)) : nullptr;
}

std::unique_ptr<SceneNodeDescriptor> EllipseNodeFactory::CreateDescriptor(const IAttributeContainer& element) const
{
    return ReadShape<EllipseNodeDescriptor>(element);
}

SceneTreePtr EllipseNodeFactory::CreateNode(const SceneNodeDescriptor* descriptor) const
{
    const auto* own = dynamic_cast<const EllipseNodeDescriptor*>(descriptor);
    return own ? SceneTreePtr(new EllipseNode(own->width, own->height, own->filled)) : nullptr;
}

std::unique_ptr<SceneNodeDescriptor> BackgroundNodeFactory::CreateDescriptor(const IAttributeContainer& element) const
{
    auto descriptor = std::make_unique<BackgroundNodeDescriptor>();
    descriptor->images = Label::FromString(element.GetAttribute(L"images"));
    descriptor->width = FiniteLayoutAttribute(element, L"width", 0.0f);
    descriptor->height = FiniteLayoutAttribute(element, L"height", 0.0f);
    return descriptor;
}

SceneTreePtr BackgroundNodeFactory::CreateNode(const SceneNodeDescriptor* descriptor) const
{
    const auto* own = dynamic_cast<const BackgroundNodeDescriptor*>(descriptor);
    if (own == nullptr)
        return nullptr;
    HeldResource<IImageList> images = FindNodeResource<IImageList>("backgroundnode", "image list", own->images);
    return SceneTreePtr(new BackgroundNode(Label(), Vector2<float>(0.0f, 0.0f), images.resource, own->width,
                                           own->height, std::move(images.holder)));
}

} // namespace Strata
