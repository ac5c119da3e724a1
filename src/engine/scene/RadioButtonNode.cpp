#include "scene/RadioButtonNode.h"

#include "core/AttributeContainer.h"
#include "framework/ObjectDatabase.h"
#include "graphics/Brush.h"
#include "graphics/Context.h"
#include "graphics/Drawing.h"
#include "graphics/Font.h"
#include "graphics/ImageList.h"
#include "scene/NodeResources.h"
#include "scene/WidgetNodeSupport.h"

#include <cmath>
#include <vector>

namespace Strata
{

namespace
{

constexpr float kLabelGap = 5.0f;
constexpr const char* kNodeType = "RadioButtonNode";

Label RadioButtonRole()
{
    static const Label role("RadioButton");
    return role;
}

} // namespace

RadioButtonNode::RadioButtonNode(Label name, Label group, const Vector2<float>& location, const IImageList* images,
                                 float width, const wchar_t* text, const Font* font, const ColorF& color)
    : ToggleNode(name, location, images, width, text, font, color), mGroup(group)
{
    UpdateBounds();
}

Label RadioButtonNode::GetRole() const
{
    return RadioButtonRole();
}

void RadioButtonNode::UpdateBounds()
{
    FitBox();
}

void RadioButtonNode::SetCheck(bool checked)
{
    mChecked = checked;
    if (!checked)
        return;
    ObjectDatabase* database = GetDatabase();
    if (database == nullptr)
        database = GetObjectDatabase();
    if (database == nullptr)
        return;
    // A copy: the walk must not depend on the database's own list.
    const std::vector<ObjectID> others = database->GetObjectsWithRole(RadioButtonRole());
    for (ObjectID id : others)
    {
        // Told apart by identity: two buttons of one group may share a name (or have none).
        auto* other = dynamic_cast<RadioButtonNode*>(database->GetObject(id));
        if (other != nullptr && other != this && other->GetGroup() == mGroup)
            other->mChecked = false;
    }
}

bool RadioButtonNode::HasFocusImages() const
{
    const int count = GetImageCount();
    return count == 5 || count == 15;
}

int RadioButtonNode::GetImageIndex()
{
    if (!IsEnabled())
        return WidgetState_Disabled;
    const bool focusImages = HasFocusImages();
    if (mChecked && focusImages)
        return WidgetState_Focused;
    if (HasCapture() && IsHot())
        return WidgetState_Pressed;
    if (mChecked)
        return WidgetState_Pressed;
    return WidgetStateIndex(true, false, IsHot(), HasFocus(), focusImages);
}

void RadioButtonNode::DrawAt(const Vector2<float>& offset)
{
    if (!GlobalIsVisible())
        return;
    const Rect<float>& bounds = GlobalGetBounds();
    const float x = bounds.x + offset.x;
    const float y = bounds.y + offset.y;
    const Graphics::sDrawState state = WidgetDrawState(*this);
    Graphics::ICanvas* canvas = Graphics::GetCanvas();
    const bool threeSlice = IsThreeSlice();
    DrawFrame(threeSlice ? kWidgetSlicesPerState * GetImageIndex() : GetImageIndex(), x, y, state, canvas);
    if (!mText.empty() && mFont != nullptr)
    {
        Graphics::sDrawState text = state;
        text.font = mFont;
        text.color = GlobalGetColor();
        text.vAlign = VAlignment_Middle;
        const float textY = std::floor(y + GetHeight() * 0.5f + 0.5f);
        if (threeSlice)
        {
            text.hAlign = HAlignment_Center;
            Graphics::DrawText(mText.c_str(), std::floor(x + GetWidth() * 0.5f + 0.5f), textY, text, canvas);
        }
        else
        {
            // Starts beside the image, as on the check box, so a long label never runs over it.
            text.hAlign = HAlignment_Left;
            Graphics::DrawText(mText.c_str(), x + GetWidth() + kLabelGap, textY, text, canvas);
        }
    }
}

void RadioButtonNode::Click()
{
    SetCheck(true);
    static const Label message("RadioButtonClick");
    SendWidgetMessage(*this, message);
}

std::unique_ptr<SceneNodeDescriptor> RadioButtonNodeFactory::CreateDescriptor(const IAttributeContainer& element) const
{
    auto descriptor = std::make_unique<RadioButtonNodeDescriptor>();
    if (element.HasAttribute(L"group"))
        descriptor->group = Label::FromString(element.GetAttribute(L"group"));
    ReadPressableAttributes(element, *descriptor);
    return descriptor;
}

SceneTreePtr RadioButtonNodeFactory::CreateNode(const SceneNodeDescriptor* descriptor) const
{
    const auto* own = dynamic_cast<const RadioButtonNodeDescriptor*>(descriptor);
    if (own == nullptr)
        return nullptr;
    auto node = std::make_unique<RadioButtonNode>(Label(), own->group, Vector2<float>(), nullptr, own->width,
                                                  own->text.c_str(), nullptr, ColorF::StaticColor<0, 0, 0, 255>());
    ApplyPressableDescriptor(kNodeType, *own, *node);
    return SceneTreePtr(node.release());
}

} // namespace Strata
