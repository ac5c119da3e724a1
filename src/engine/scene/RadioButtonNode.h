#pragma once

#include "scene/SceneNodeFactory.h"
#include "scene/ToggleNode.h"

namespace Strata
{

// The exclusive choice of the scene graph: checking one radio button unchecks every other one of its
// group in the same database. Frames: 0 normal, 1 hot, 2 pressed (also checked without frame 4),
// 3 disabled, 4 checked or focused (lists of exactly 5 or 15 images); 11 or more images are
// three-slice strips carrying the label centred, otherwise the label sits right of the image. A click
// checks the button and sends "RadioButtonClick".
class RadioButtonNode : public ToggleNode
{
public:
    // A null text is empty. Images and font are not owned.
    RadioButtonNode(Label name, Label group, const Vector2<float>& location, const IImageList* images, float width,
                    const wchar_t* text, const Font* font, const ColorF& color);

    // "RadioButton": the database files every radio button under it.
    Label GetRole() const override;
    virtual Label GetGroup() const { return mGroup; }

    bool IsChecked() const { return mChecked; }
    // Checking unchecks the other buttons of the group in the node's database (or else the current
    // one), quietly; unchecking touches no other button. No message, no sound.
    void SetCheck(bool checked);

    void Click() override;
    bool HasFocusImages() const override;
    int GetImageIndex();

    void DrawAt(const Vector2<float>& offset) override;

protected:
    void UpdateBounds() override;

private:
    Label mGroup;
    bool mChecked = false;
};

class RadioButtonNodeDescriptor : public PressableNodeDescriptor
{
public:
    Label group;
};

// "radiobuttonnode": "group", "images", "width", "text", "textResource", "font", "alphaSensitivity",
// "sounds". The colour is opaque black unless the layout sets one.
class RadioButtonNodeFactory : public SceneNodeFactory
{
public:
    std::unique_ptr<SceneNodeDescriptor> CreateDescriptor(const IAttributeContainer& element) const override;
    SceneTreePtr CreateNode(const SceneNodeDescriptor* descriptor) const override;
};

} // namespace Strata
