#include "scene/CheckBoxNode.h"

#include "core/AttributeContainer.h"
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

constexpr float kLabelGap = 5.0f;
constexpr const char* kNodeType = "CheckBoxNode";

} // namespace

CheckBoxNode::CheckBoxNode(Label name, const Vector2<float>& location, const IImageList* images, float width,
                           const wchar_t* text, const Font* font, const ColorF& color)
    : ToggleNode(name, location, images, width, text, font, color)
{
    UpdateBounds();
}

void CheckBoxNode::UpdateBounds()
{
    FitBox();
    if (mFont != nullptr)
    {
        mLabelSize = Vector2<float>(static_cast<float>(mFont->GetStringWidth(mText.c_str())),
                                    static_cast<float>(mFont->GetGlyphHeight()));
    }
}

bool CheckBoxNode::HasFocusImages() const
{
    const int count = GetImageCount();
    return count == 10 || count == 30;
}

int CheckBoxNode::GetImageIndex()
{
    const int state = WidgetStateIndex(IsEnabled(), HasCapture(), IsHot(), HasFocus(), HasFocusImages());
    const int first = IsThreeSlice() ? kWidgetSlicesPerState * state : state;
    return first + (mChecked ? GetImageCount() / 2 : 0);
}

Rect<float> CheckBoxNode::GetLabelRect()
{
    const Rect<float>& bounds = GlobalGetBounds();
    const int glyphHalf = mFont != nullptr ? mFont->GetGlyphHeight() / 2 : 0;
    return Rect<float>(bounds.x + GetWidth() + kLabelGap,
                       std::floor(bounds.y + GetHeight() * 0.5f - static_cast<float>(glyphHalf) + 0.5f), mLabelSize.x,
                       mLabelSize.y);
}

bool CheckBoxNode::GlobalPointIntersects(const Vector2<float>& point)
{
    if (ToggleNode::GlobalPointIntersects(point))
        return true;
    if (mFont == nullptr)
        return false;
    const Rect<float> label = GetLabelRect();
    return point.x >= label.x && point.x < label.x + label.width && point.y >= label.y &&
           point.y < label.y + label.height;
}

void CheckBoxNode::DrawAt(const Vector2<float>& offset)
{
    if (!GlobalIsVisible())
        return;
    const Rect<float>& bounds = GlobalGetBounds();
    const float x = bounds.x + offset.x;
    const float y = bounds.y + offset.y;
    const Graphics::sDrawState state = WidgetDrawState(*this);
    Graphics::ICanvas* canvas = Graphics::GetCanvas();
    DrawFrame(GetImageIndex(), x, y, state, canvas);
    if (!mText.empty() && mFont != nullptr)
    {
        Graphics::sDrawState text = state;
        text.font = mFont;
        text.color = GlobalGetColor();
        text.hAlign = HAlignment_Left;
        text.vAlign = VAlignment_Middle;
        Graphics::DrawText(mText.c_str(), x + GetWidth() + kLabelGap, std::floor(y + GetHeight() * 0.5f + 0.5f), text,
                           canvas);
    }
}

void CheckBoxNode::Click()
{
    mChecked = !mChecked;
    static const Label checkedSound("Checked");
    static const Label uncheckedSound("Unchecked");
    PlayWidgetSound(sounds, mChecked ? checkedSound : uncheckedSound);
    static const Label message("CheckBoxClick");
    SendWidgetMessage(*this, message);
}

std::unique_ptr<SceneNodeDescriptor> CheckBoxNodeFactory::CreateDescriptor(const IAttributeContainer& element) const
{
    auto descriptor = std::make_unique<CheckBoxNodeDescriptor>();
    ReadPressableAttributes(element, *descriptor);
    return descriptor;
}

SceneTreePtr CheckBoxNodeFactory::CreateNode(const SceneNodeDescriptor* descriptor) const
{
    const auto* own = dynamic_cast<const CheckBoxNodeDescriptor*>(descriptor);
    if (own == nullptr)
        return nullptr;
    auto node = std::make_unique<CheckBoxNode>(Label(), Vector2<float>(), nullptr, own->width, own->text.c_str(),
                                               nullptr, ColorF::StaticColor<0, 0, 0, 255>());
    ApplyPressableDescriptor(kNodeType, *own, *node);
    return SceneTreePtr(node.release());
}

} // namespace Strata
