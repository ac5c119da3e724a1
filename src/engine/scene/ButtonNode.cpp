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
    : PressableNode(name, images, width, text, font, color, kMinThreeSliceImages)
{
    UpdateBounds();
}

bool ButtonNode::HasFocusImages() const
{
    const int count = GetImageCount();
    return count == kFocusImages || count == kThreeSliceFocusImages;
}

int ButtonNode::GetImageIndex()
{
    return WidgetStateIndex(IsEnabled(), HasCapture(), IsHot(), HasFocus(), HasFocusImages());
}

void ButtonNode::UpdateBounds()
{
    // The list's size functions answer 0 for an image they do not hold, so an empty slot 0 never
    // reads through a null image.
    if (IsThreeSlice())
    {
        SetWidth(GetStripWidth());
        SetHeight(static_cast<float>(GetImages()->GetImageHeight(0)));
    }
    else if (GetImageCount() > 0)
    {
        SetWidth(static_cast<float>(GetImages()->GetImageWidth(0)));
        SetHeight(static_cast<float>(GetImages()->GetImageHeight(0)));
    }
    else if (mFont != nullptr)
    {
        SetWidth(static_cast<float>(mFont->GetStringWidth(mText.c_str())));
        SetHeight(static_cast<float>(mFont->GetGlyphHeight()));
    }
}

void ButtonNode::DrawAt(const Vector2<float>& offset)
{
    if (!GlobalIsVisible())
        return;
    const Rect<float>& bounds = GlobalGetBounds();
    const float x = bounds.x + offset.x;
    const float y = bounds.y + offset.y;
    const Graphics::sDrawState state = WidgetDrawState(*this);
    Graphics::ICanvas* canvas = Graphics::GetCanvas();
    const int index = GetImageIndex();
    DrawFrame(IsThreeSlice() ? kWidgetSlicesPerState * index : index, x, y, state, canvas);
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

void ButtonNode::HandleMouseExited(SceneNode*)
{
    SetHot(false);
}

ButtonNodeDescriptor::ButtonNodeDescriptor(Label images, float width, std::wstring text, Label font, uint16_t keyCode,
                                           int32_t alphaSensitivity, Label sounds, Label textResource)
    : keyCode(keyCode)
{
    this->images = images;
    this->width = width;
    this->text = std::move(text);
    this->font = font;
    this->alphaSensitivity = alphaSensitivity;
    this->sounds = sounds;
    this->textResource = textResource;
}

std::unique_ptr<SceneNodeDescriptor> ButtonNodeFactory::CreateDescriptor(const IAttributeContainer& element) const
{
    auto descriptor = std::make_unique<ButtonNodeDescriptor>();
    ReadPressableAttributes(element, *descriptor);
    descriptor->keyCode = GetKeyCodeByName(element.GetAttribute(L"keyCode").c_str());
    return descriptor;
}

SceneTreePtr ButtonNodeFactory::CreateNode(const SceneNodeDescriptor* descriptor) const
{
    const auto* own = dynamic_cast<const ButtonNodeDescriptor*>(descriptor);
    if (own == nullptr)
        return nullptr;
    auto node = std::make_unique<ButtonNode>(Label(), nullptr, own->width, own->text.c_str(), nullptr,
                                             ColorF::StaticColor<0, 0, 0, 255>());
    ApplyPressableDescriptor(kNodeType, *own, *node);
    node->keyCode = own->keyCode;
    return SceneTreePtr(node.release());
}

} // namespace Strata
