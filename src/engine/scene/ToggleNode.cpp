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
    : PressableNode(name, images, width, text, font, color, kMinThreeSliceImages)
{
    LocalSetLocation(location);
}

void ToggleNode::FitBox()
{
    if (GetImageCount() <= 0)
        return;
    SetWidth(IsThreeSlice() ? GetStripWidth() : static_cast<float>(GetImages()->GetImageWidth(0)));
    SetHeight(static_cast<float>(GetImages()->GetImageHeight(0)));
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

void ToggleNode::HandleMouseUp(SceneNode*, MouseButton, int, int)
{
    if (IsEnabled())
        Click();
    ReleaseCapture();
}

void ToggleNode::HandleMouseExited(SceneNode*)
{
    if (IsEnabled())
        SetHot(false);
}

} // namespace Strata
