#pragma once

#include "scene/PressableNode.h"
#include "scene/SceneNodeFactory.h"

#include <boost/signals2/signal.hpp>

#include <cstdint>
#include <memory>
#include <string>

namespace Strata
{

class IImageList;
class IResourceDescriptor;
class SoundList;

// The push button of the scene graph. It shows one image per state (0 normal, 1 hot, 2 pressed,
// 3 disabled, 4 focused; lists of 6 or more images are three-slice strips stretched to the width), an
// optional centred label, plays "Hot", "Down" and "Release" from its sound list, and on a click sends
// "ButtonClick" with its identifier as the sender, then fires clickSignal.
class ButtonNode : public PressableNode
{
public:
    using ClickSignal = boost::signals2::signal<void(ButtonNode*)>;

    // A null text is empty. Images and font are not owned: they must outlive their use here.
    ButtonNode(Label name, const IImageList* images, float width, const wchar_t* text, const Font* font,
               const ColorF& color);

    // Setting images, font or text refits the size: a three-slice list gives the width field and image
    // 0's height, single images image 0's size, no images the text's size in the font (nothing without
    // a font).
    using PressableNode::GetStripWidth;

    // Sends "ButtonClick", then fires clickSignal.
    void Click();
    bool HasFocusImages() const;
    int GetImageIndex();

    // Clicks on Enter, Space or GamePadA while focused, and on the button's own key code (not 0)
    // whether focused or enabled or not.
    MessageResult OnKeyDown(int key) override;
    void DrawAt(const Vector2<float>& offset) override;

    // The engine key code that clicks the button; 0 for none.
    uint16_t keyCode = 0;
    ClickSignal clickSignal;

private:
    void UpdateBounds() override;
    void HandleMouseUp(SceneNode*, MouseButton, int, int) override;
    void HandleMouseExited(SceneNode*) override;
};

class ButtonNodeDescriptor : public PressableNodeDescriptor
{
public:
    ButtonNodeDescriptor() = default;
    ButtonNodeDescriptor(Label images, float width, std::wstring text, Label font, uint16_t keyCode,
                         int32_t alphaSensitivity, Label sounds, Label textResource);

    uint16_t keyCode = 0;
};

// "buttonnode": "images", "width", "text", "textResource", "font", "keyCode" (a key name),
// "alphaSensitivity", "sounds". The button's colour is opaque black unless the layout sets one.
class ButtonNodeFactory : public SceneNodeFactory
{
public:
    std::unique_ptr<SceneNodeDescriptor> CreateDescriptor(const IAttributeContainer& element) const override;
    SceneTreePtr CreateNode(const SceneNodeDescriptor* descriptor) const override;
};

} // namespace Strata
