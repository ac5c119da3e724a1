#pragma once

#include "controls/ObjectComponents.h"
#include "controls/ObjectFactory.h"
#include "controls/ToggleControl.h"
#include "core/Color.h"
#include "core/Rect.h"
#include "core/Vector2.h"

#include <string>

namespace Strata
{

class Font;
class IImageList;
class SoundList;

// A two-state toggle (layout type "checkbox"). Lists hold the unchecked looks, then the checked
// looks: 8 single images (16 three-slice), or 10 (30) with focus images. Every toggle broadcasts
// "CheckBoxClick" with the box's identifier as the sender.
class CheckBoxObject : public ToggleControlObject
{
public:
    explicit CheckBoxObject(Label name);
    CheckBoxObject(Label name, float layer, const Vector2<float>& location, ImageListHandle images, float width,
                   const std::wstring& text, const Font* font, const ColorF& color);
    ~CheckBoxObject() override;

    // Exactly 10 single images or 30 three-slice images.
    bool HasFocusImages() const override;
    int GetImageIndex() const override;
    // Toggles, plays "Checked" or "Unchecked", and broadcasts "CheckBoxClick" through the current
    // object database (nothing is sent without one).
    void Click() override;
    void Draw() override;

    bool IsChecked() const { return mChecked; }
    // For the owning screen: sets the state quietly, without sound or message.
    void SetChecked(bool checked) { mChecked = checked; }

protected:
    const char* GetKindName() const override { return "CheckBox"; }

private:
    bool mChecked = false;
};

// Reads "images", "sounds" and "alphaSensitivity" (default 25). A missing image list or sound list
// leaves the box without one.
class CheckBoxObjectFactory : public IObjectFactory
{
public:
    Object* CreateObject(Label name, const IAttributeContainer& attributes) override;
};

} // namespace Strata
