#include "scene/PressableNode.h"

#include "core/AttributeContainer.h"
#include "graphics/Brush.h"
#include "graphics/Drawing.h"
#include "graphics/Font.h"
#include "graphics/ImageList.h"
#include "scene/NodeResources.h"
#include "scene/WidgetNodeSupport.h"

namespace Strata
{

PressableNode::PressableNode(Label name, const IImageList* images, float width, const wchar_t* text, const Font* font,
                             const ColorF& color, int minThreeSliceImages)
    : SceneNode(name), TextComponent(text ? std::wstring(text) : std::wstring()), FontComponent(font), mImages(images),
      mWidth(width), mMinThreeSliceImages(minThreeSliceImages)
{
    hitTest = true;
    LocalSetColor(color);
    LocalSetVisible(true);
    // The handlers go through `this`, so the up and exit handlers reach the derived node's own.
    using namespace std::placeholders;
    mouseDownSignal.connect(std::bind(&PressableNode::HandleMouseDown, this, _1, _2, _3, _4));
    mouseUpSignal.connect(std::bind(&PressableNode::HandleMouseUp, this, _1, _2, _3, _4));
    mouseEnterSignal.connect(std::bind(&PressableNode::HandleMouseEntered, this, _1));
    mouseExitSignal.connect(std::bind(&PressableNode::HandleMouseExited, this, _1));
    captureMouseUpSignal.connect(std::bind(&PressableNode::HandleMouseUpOutsideNode, this, _1, _2, _3, _4));
}

void PressableNode::SetImages(const IImageList* images, float width, std::shared_ptr<IResourceDescriptor> holder)
{
    mImages = images;
    mWidth = width;
    mImagesHolder = images ? std::move(holder) : nullptr;
    UpdateBounds();
}

void PressableNode::SetFont(const Font* font, std::shared_ptr<IResourceDescriptor> holder)
{
    FontComponent::SetFont(font, std::move(holder));
    UpdateBounds();
}

void PressableNode::SetText(const std::wstring& text)
{
    mText = text;
    UpdateBounds();
}

int PressableNode::GetImageCount() const
{
    return mImages != nullptr ? mImages->GetNumImages() : 0;
}

bool PressableNode::IsThreeSlice() const
{
    return GetImageCount() >= mMinThreeSliceImages;
}

bool PressableNode::AlphaContains(const Vector2<float>& point)
{
    if (alphaSensitivity == 0 || GetImageCount() <= 0)
        return true;
    const Rect<float>& bounds = GlobalGetBounds();
    return WidgetFrameAlpha(*mImages, 0, IsThreeSlice(), GetWidth(), point, Vector2<float>(bounds.x, bounds.y)) >
           alphaSensitivity;
}

bool PressableNode::GlobalPointIntersects(const Vector2<float>& point)
{
    return GlobalBoundsContains(point.x, point.y) && AlphaContains(point);
}

void PressableNode::DrawFrame(int first, float x, float y, const Graphics::sDrawState& state, ICanvas* canvas)
{
    // The drawing calls take the list as changeable; they only read it.
    IImageList* images = const_cast<IImageList*>(mImages);
    if (images == nullptr)
        return;
    if (IsThreeSlice())
        Graphics::DrawThreeBrush(images, first, x, y, GetWidth(), state, canvas);
    else
        Graphics::DrawImageList(images, first, x, y, state, canvas);
}

void PressableNode::HandleMouseDown(SceneNode*, MouseButton, int, int)
{
    if (!IsEnabled())
        return;
    mHot = true;
    Capture();
    static const Label down("Down");
    PlayWidgetSound(sounds, down);
}

void PressableNode::HandleMouseEntered(SceneNode*)
{
    if (!IsEnabled())
        return;
    mHot = true;
    static const Label hot("Hot");
    PlayWidgetSound(sounds, hot);
}

void PressableNode::HandleMouseUpOutsideNode(SceneNode*, MouseButton, int, int)
{
    ReleaseCapture();
}

void ReadPressableAttributes(const IAttributeContainer& element, PressableNodeDescriptor& descriptor)
{
    descriptor.images = Label::FromString(element.GetAttribute(L"images"));
    descriptor.width = FiniteLayoutAttribute(element, L"width", 0.0f);
    descriptor.text = element.GetAttribute(L"text");
    descriptor.font = Label::FromString(element.GetAttribute(L"font"));
    descriptor.alphaSensitivity = element.GetAttribute(L"alphaSensitivity", kWidgetDefaultAlphaSensitivity);
    descriptor.sounds = Label::FromString(element.GetAttribute(L"sounds"));
    if (element.HasAttribute(L"textResource"))
        descriptor.textResource = Label::FromString(element.GetAttribute(L"textResource"));
}

void ApplyPressableDescriptor(const char* nodeType, const PressableNodeDescriptor& descriptor, PressableNode& node)
{
    const HeldResource<ImageList> images = FindNodeResource<ImageList>(nodeType, "image list", descriptor.images);
    const HeldResource<Font> font = FindNodeResource<Font>(nodeType, "font", descriptor.font);
    node.SetImages(images.resource, descriptor.width, images.holder);
    node.SetFont(font.resource, font.holder);
    node.alphaSensitivity = descriptor.alphaSensitivity;
    node.sounds = FindWidgetSoundList(nodeType, descriptor.sounds);
    if (!descriptor.textResource.IsNull())
        node.SetTextFromResource(descriptor.textResource);
}

} // namespace Strata
