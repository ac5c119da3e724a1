#include "scene/ToggleNode.h"

#include "core/KeyCodes.h"
#include "graphics/ImageList.h"
#include "scene/WidgetNodeSupport.h"

namespace Strata
{

namespace
{

constexpr int kMinThreeSliceImages = 11;

} // namespace

ToggleNode::ToggleNode(Label name, const Vector2<float>& location, const IImageList* images, float width,
                       const wchar_t* text, const Font* font, const ColorF& color)
    : SceneNode(name), TextComponent(text ? std::wstring(text) : std::wstring()), FontComponent(font), mImages(images),
      mWidth(width)
{
    LocalSetColor(color);
    LocalSetLocation(location);
    LocalSetVisible(true);
    hitTest = true;
    using namespace std::placeholders;
    mouseDownSignal.connect(std::bind(&ToggleNode::HandleMouseDown, this, _1, _2, _3, _4));
    mouseUpSignal.connect(std::bind(&ToggleNode::HandleMouseUp, this, _1, _2, _3, _4));
    mouseEnterSignal.connect(std::bind(&ToggleNode::HandleMouseEntered, this, _1));
    mouseExitSignal.connect(std::bind(&ToggleNode::HandleMouseExited, this, _1));
    captureMouseUpSignal.connect(std::bind(&ToggleNode::HandleMouseUpOutsideNode, this, _1, _2, _3, _4));
}

void ToggleNode::SetImages(const IImageList* images, float width, std::shared_ptr<IResourceDescriptor> holder)
{
    mImages = images;
    mWidth = width;
    mImagesHolder = images ? std::move(holder) : nullptr;
    UpdateBounds();
}

void ToggleNode::SetFont(const Font* font)
{
    SetFont(font, nullptr);
}

void ToggleNode::SetFont(const Font* font, std::shared_ptr<IResourceDescriptor> holder)
{
    mFont = font;
    mFontHolder = font ? std::move(holder) : nullptr;
    UpdateBounds();
}

void ToggleNode::SetText(const std::wstring& text)
{
    mText = text;
    UpdateBounds();
}

int ToggleNode::GetImageCount() const
{
    return mImages != nullptr ? mImages->GetNumImages() : 0;
}

bool ToggleNode::IsThreeSlice() const
{
    return GetImageCount() >= kMinThreeSliceImages;
}

void ToggleNode::FitBox()
{
    if (GetImageCount() <= 0)
    {
        return;
    }
    SetWidth(IsThreeSlice() ? mWidth : static_cast<float>(mImages->GetImageWidth(0)));
    SetHeight(static_cast<float>(mImages->GetImageHeight(0)));
}

bool ToggleNode::AlphaContains(const Vector2<float>& point)
{
    if (alphaSensitivity == 0 || GetImageCount() <= 0)
    {
        return true;
    }
    const Rect<float>& bounds = GlobalGetBounds();
    return WidgetFrameAlpha(*mImages, 0, IsThreeSlice(), GetWidth(), point, Vector2<float>(bounds.x, bounds.y)) >
           alphaSensitivity;
}

bool ToggleNode::GlobalPointIntersects(const Vector2<float>& point)
{
    return GlobalBoundsContains(point.x, point.y) && AlphaContains(point);
}

MessageResult ToggleNode::OnKeyDown(int key)
{
    if ((key == Key_Enter || key == Key_Space || key == Key_GamePadA) && HasFocus())
    {
        Click();
        return MessageResult_Handled;
    }
    return MessageResult_Unhandled;
}

void ToggleNode::HandleMouseDown(SceneNode*, MouseButton, int, int)
{
    if (!IsEnabled())
    {
        return;
    }
    mHot = true;
    Capture();
    static const Label down("Down");
    PlayWidgetSound(sounds, down);
}

void ToggleNode::HandleMouseUp(SceneNode*, MouseButton, int, int)
{
    if (IsEnabled())
    {
        Click();
    }
    ReleaseCapture();
}

void ToggleNode::HandleMouseEntered(SceneNode*)
{
    if (!IsEnabled())
    {
        return;
    }
    mHot = true;
    static const Label hot("Hot");
    PlayWidgetSound(sounds, hot);
}

void ToggleNode::HandleMouseExited(SceneNode*)
{
    if (IsEnabled())
    {
        mHot = false;
    }
}

void ToggleNode::HandleMouseUpOutsideNode(SceneNode*, MouseButton, int, int)
{
    ReleaseCapture();
}

} // namespace Strata
