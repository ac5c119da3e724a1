#pragma once

#include "scene/PressableNode.h"

namespace Strata
{

// What the check box and the radio button share: an image list of state frames (11 or more images
// are three-slice strips), a label, hot and pressed states, and a click on a mouse release over the
// node or on Enter, Space or GamePadA while focused. Presses while disabled are ignored, yet a release
// always lets the capture go, so a node disabled mid-press never holds the mouse.
class ToggleNode : public PressableNode
{
public:
    virtual void Click() = 0;
    virtual bool HasFocusImages() const = 0;

    MessageResult OnKeyDown(int key) override;

protected:
    ToggleNode(Label name, const Vector2<float>& location, const IImageList* images, float width, const wchar_t* text,
               const Font* font, const ColorF& color);

    // Box width (the strip width or image 0's) and image 0's height; without images the size stays.
    void FitBox();

private:
    void HandleMouseUp(SceneNode*, MouseButton, int, int) override;
    void HandleMouseExited(SceneNode*) override;
};

} // namespace Strata
