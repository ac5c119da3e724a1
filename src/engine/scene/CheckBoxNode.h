#pragma once

#include "scene/SceneNodeFactory.h"
#include "scene/ToggleNode.h"

namespace Strata
{

// The two-state toggle of the scene graph: the list's first half holds the unchecked frames, its
// second half the checked ones (focus frames with exactly 10 or 30 images), with an optional label to
// the right of the box that is part of the hit area. A click flips the value, plays "Checked" or
// "Unchecked" and sends "CheckBoxClick"; the receiver reads IsChecked.
class CheckBoxNode : public ToggleNode
{
public:
    // A null text is empty. Images and font are not owned.
    CheckBoxNode(Label name, const Vector2<float>& location, const IImageList* images, float width, const wchar_t* text,
                 const Font* font, const ColorF& color);

    bool IsChecked() const { return mChecked; }
    // Sets the value quietly: no sound, no message.
    void SetChecked(bool checked) { mChecked = checked; }

    void Click() override;
    bool HasFocusImages() const override;
    int GetImageIndex();
    // The label's hit area, right of the box, from the node's current global place.
    Rect<float> GetLabelRect();
    const Vector2<float>& GetLabelSize() const { return mLabelSize; }

    bool GlobalPointIntersects(const Vector2<float>& point) override;
    void DrawAt(const Vector2<float>& offset) override;

protected:
    void UpdateBounds() override;

private:
    bool mChecked = false;
    Vector2<float> mLabelSize;
};

class CheckBoxNodeDescriptor : public PressableNodeDescriptor
{
};

// "checkboxnode": "images", "width", "text", "textResource", "font", "alphaSensitivity", "sounds".
// The colour is opaque black unless the layout sets one.
class CheckBoxNodeFactory : public SceneNodeFactory
{
public:
    std::unique_ptr<SceneNodeDescriptor> CreateDescriptor(const IAttributeContainer& element) const override;
    SceneTreePtr CreateNode(const SceneNodeDescriptor* descriptor) const override;
};

} // namespace Strata
