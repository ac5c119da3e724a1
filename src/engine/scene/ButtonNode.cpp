#include "scene/ButtonNode.h"

#include "core/AttributeContainer.h"
#include "core/KeyCodes.h"
#include "graphics/Brush.h"
#include "graphics/Context.h"
#include "graphics/Drawing.h"
#include "graphics/Font.h"
#include "graphics/ImageList.h"
#include "scene/NodeResources.h"
#include "scene/WidgetNodeSupport.h"

#include <cmath>

namespace Strata
{

namespace
{

constexpr int kMinThreeSliceImages = 6;
constexpr int kFocusImages = 5;
constexpr int kThreeSliceFocusImages = 15;
constexpr const char* kNodeType = "ButtonNode";

} // namespace

ButtonNode::ButtonNode(Label name, const IImageList* images, float width, const wchar_t* text, const Font* font,
                       const ColorF& color)
    : SceneNode(name), TextComponent(text ? std::wstring(text) : std::wstring()), FontComponent(font), mImages(images),
      mWidth(width)
{
    hitTest = true;
    UpdateBounds();
    LocalSetColor(color);
    LocalSetVisible(true);
    using namespace std::placeholders;
    mouseDownSignal.connect(std::bind(&ButtonNode::HandleMouseDown, this, _1, _2, _3, _4));
    mouseUpSignal.connect(std::bind(&ButtonNode::HandleMouseUp, this, _1, _2, _3, _4));
    mouseEnterSignal.connect(std::bind(&ButtonNode::HandleMouseEntered, this, _1));
    mouseExitSignal.connect(std::bind(&ButtonNode::HandleMouseExited, this, _1));
    captureMouseUpSignal.connect(std::bind(&ButtonNode::HandleMouseUpOutsideNode, this, _1, _2, _3, _4));
}

void ButtonNode::SetImages(const IImageList* images, float width, std::shared_ptr<IResourceDescriptor> holder)
{
    mImages = images;
    mWidth = width;
    mImagesHolder = images ? std::move(holder) : nullptr;
    UpdateBounds();
}

void ButtonNode::SetFont(const Font* font)
{
    SetFont(font, nullptr);
}

void ButtonNode::SetFont(const Font* font, std::shared_ptr<IResourceDescriptor> holder)
{
    mFont = font;
    mFontHolder = font ? std::move(holder) : nullptr;
    UpdateBounds();
}

void ButtonNode::SetText(const std::wstring& text)
{
    mText = text;
    UpdateBounds();
}

bool ButtonNode::IsThreeSlice() const
{
    return mImages != nullptr && mImages->GetNumImages() >= kMinThreeSliceImages;
}

bool ButtonNode::HasFocusImages() const
{
    if (mImages == nullptr)
    {
        return false;
    }
    const int count = mImages->GetNumImages();
    return count == kFocusImages || count == kThreeSliceFocusImages;
}

int ButtonNode::GetImageIndex()
{
    return WidgetStateIndex(IsEnabled(), HasCapture(), mHot, HasFocus(), HasFocusImages());
}

void ButtonNode::UpdateBounds()
{
    // The list's size functions answer 0 for an image they do not hold, so an empty slot 0 never
    // reads through a null image.
    if (IsThreeSlice())
    {
        SetWidth(mWidth);
        SetHeight(static_cast<float>(mImages->GetImageHeight(0)));
    }
    else if (mImages != nullptr && mImages->GetNumImages() > 0)
    {
        SetWidth(static_cast<float>(mImages->GetImageWidth(0)));
        SetHeight(static_cast<float>(mImages->GetImageHeight(0)));
    }
    else if (mFont != nullptr)
    {
        SetWidth(static_cast<float>(mFont->GetStringWidth(mText.c_str())));
        SetHeight(static_cast<float>(mFont->GetGlyphHeight()));
    }
}

bool ButtonNode::AlphaContains(const Vector2<float>& point)
{
    if (alphaSensitivity == 0 || mImages == nullptr || mImages->GetNumImages() <= 0)
    {
        return true;
    }
    const Rect<float>& bounds = GlobalGetBounds();
    return WidgetFrameAlpha(*mImages, 0, IsThreeSlice(), GetWidth(), point, Vector2<float>(bounds.x, bounds.y)) >
           alphaSensitivity;
}

bool ButtonNode::GlobalPointIntersects(const Vector2<float>& point)
{
    return GlobalBoundsContains(point.x, point.y) && AlphaContains(point);
}

void ButtonNode::DrawAt(const Vector2<float>& offset)
{
    if (!GlobalIsVisible())
    {
        return;
    }
    const Rect<float>& bounds = GlobalGetBounds();
    const float x = bounds.x + offset.x;
    const float y = bounds.y + offset.y;
    const Graphics::sDrawState state = WidgetDrawState(*this);
    Graphics::ICanvas* canvas = Graphics::GetCanvas();
    // The drawing calls take the list as changeable; they only read it.
    IImageList* images = const_cast<IImageList*>(mImages);
    if (images != nullptr)
    {
        const int index = GetImageIndex();
        if (IsThreeSlice())
        {
            Graphics::DrawThreeBrush(images, kWidgetSlicesPerState * index, x, y, GetWidth(), state, canvas);
        }
        else
        {
            Graphics::DrawImageList(images, index, x, y, state, canvas);
        }
    }
    if (!mText.empty() && mFont != nullptr)
    {
        Graphics::sDrawState text = state;
        text.font = mFont;
        text.color = GlobalGetColor();
        text.hAlign = HAlignment_Center;
        text.vAlign = VAlignment_Middle;
        Graphics::DrawText(mText.c_str(), std::floor(x + GetWidth() * 0.5f + 0.5f),
                           std::floor(y + GetHeight() * 0.5f + 0.5f), text, canvas);
    }
}

void ButtonNode::Click()
{
    static const Label message("ButtonClick");
    SendWidgetMessage(*this, message);
    clickSignal(this);
}

MessageResult ButtonNode::OnKeyDown(int key)
{
    const bool activationKey = key == Key_Enter || key == Key_Space || key == Key_GamePadA;
    if ((activationKey && HasFocus()) || (keyCode != 0 && key == keyCode))
    {
        Click();
        return MessageResult_Handled;
    }
    return MessageResult_Unhandled;
}

void ButtonNode::HandleMouseDown(SceneNode*, MouseButton, int, int)
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

void ButtonNode::HandleMouseUp(SceneNode*, MouseButton, int, int)
{
    // A button disabled while pressed still lets the capture go, or it would swallow every later click.
    if (HasCapture() && IsEnabled())
    {
        Click();
        static const Label release("Release");
        PlayWidgetSound(sounds, release);
    }
    ReleaseCapture();
}

void ButtonNode::HandleMouseEntered(SceneNode*)
{
    if (!IsEnabled())
    {
        return;
    }
    mHot = true;
    static const Label hot("Hot");
    PlayWidgetSound(sounds, hot);
}

void ButtonNode::HandleMouseExited(SceneNode*)
{
    mHot = false;
}

void ButtonNode::HandleMouseUpOutsideNode(SceneNode*, MouseButton, int, int)
{
    ReleaseCapture();
}

ButtonNodeDescriptor::ButtonNodeDescriptor(Label images, float width, std::wstring text, Label font, uint16_t keyCode,
                                           int32_t alphaSensitivity, Label sounds, Label textResource)
    : images(images), width(width), text(std::move(text)), font(font), keyCode(keyCode),
      alphaSensitivity(alphaSensitivity), sounds(sounds), textResource(textResource)
{
}

std::unique_ptr<SceneNodeDescriptor> ButtonNodeFactory::CreateDescriptor(const IAttributeContainer& element) const
{
    Label textResource;
    if (element.HasAttribute(L"textResource"))
    {
        textResource = Label::FromString(element.GetAttribute(L"textResource"));
    }
    return std::make_unique<ButtonNodeDescriptor>(
        Label::FromString(element.GetAttribute(L"images")), FiniteLayoutAttribute(element, L"width", 0.0f),
        element.GetAttribute(L"text"), Label::FromString(element.GetAttribute(L"font")),
        GetKeyCodeByName(element.GetAttribute(L"keyCode").c_str()),
        element.GetAttribute(L"alphaSensitivity", kWidgetDefaultAlphaSensitivity),
        Label::FromString(element.GetAttribute(L"sounds")), textResource);
}

SceneTreePtr ButtonNodeFactory::CreateNode(const SceneNodeDescriptor* descriptor) const
{
    const auto* own = dynamic_cast<const ButtonNodeDescriptor*>(descriptor);
    if (own == nullptr)
    {
        return nullptr;
    }
    const HeldResource<ImageList> images = FindNodeResource<ImageList>(kNodeType, "image list", own->images);
    const HeldResource<Font> font = FindNodeResource<Font>(kNodeType, "font", own->font);
    auto node = std::make_unique<ButtonNode>(Label(), nullptr, own->width, own->text.c_str(), nullptr,
                                             ColorF::StaticColor<0, 0, 0, 255>());
    node->SetImages(images.resource, own->width, images.holder);
    node->SetFont(font.resource, font.holder);
    node->keyCode = own->keyCode;
    node->alphaSensitivity = own->alphaSensitivity;
    node->sounds = FindWidgetSoundList(kNodeType, own->sounds);
    if (!own->textResource.IsNull())
    {
        node->SetTextFromResource(own->textResource);
    }
    return SceneTreePtr(node.release());
}

} // namespace Strata
