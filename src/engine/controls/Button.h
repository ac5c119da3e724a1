#pragma once

#include "controls/ObjectComponents.h"
#include "controls/ObjectFactory.h"
#include "controls/PressableControl.h"

#include <string>

namespace Strata
{

class IImageList;
class SoundList;

// A push button (layout type "button"). It draws one image of its list per state, or a three-slice
// strip per state (lists of 6 or more images) stretched to its width, and an optional centred caption.
// A press and a release both inside it broadcast "ButtonClick" with its identifier as the sender.
// States: 0 normal, 1 hot, 2 pressed, 3 disabled, 4 focused (lists of exactly 5 or 15 images).
class ButtonObject : public PressableControlObject, public TextComponent, public ScaleComponent
{
public:
    static constexpr int kDefaultAlphaSensitivity = 25;

    explicit ButtonObject(Label name);
    ~ButtonObject() override;

    // Store the value, then fit the bounds: a three-slice list sets the height to image 0's, a list of
    // single images sets the size to image 0's; without images, a font sets the size to the text's.
    void SetImages(ImageListHandle images);
    void SetText(const std::wstring& text) override;
    void Draw() override;

    // True without a pixel test (sensitivity 0, no or an empty list); else whether the alpha of the
    // normal image (or strip) under the point is above the sensitivity.
    bool AlphaContains(int x, int y) override;
    // Clicks on Enter, Space or GamePadA when focused, or on the button's own key code.
    MessageResult OnKeyDown(int key) override;

    // Broadcasts "ButtonClick" through the current object database; nothing without one.
    void Click() override;
    int GetImageIndex();
    bool HasFocusImages() const;
    bool IsThreeSlice() const;

    const IImageList* GetImages() const { return mImages; }
    bool IsScalable() const { return mScalable; }
    void SetScalable(bool scalable) { mScalable = scalable; }
    int GetKeyCode() const { return mKeyCode; }
    // 0 means no key of its own.
    void SetKeyCode(int key) { mKeyCode = key; }
    int GetAlphaSensitivity() const { return mAlphaSensitivity; }
    // Pixels with an alpha not above it miss the button; 0 turns the pixel test off.
    void SetAlphaSensitivity(int sensitivity) { mAlphaSensitivity = sensitivity; }

private:
    void FitBounds();

    bool mScalable = false;
    int mKeyCode = 0;
    ImageListHandle mImages;
    int mAlphaSensitivity = kDefaultAlphaSensitivity;
};

// Reads "images", "sounds", "alphaSensitivity" (default 25), "keyCode" (a key name) and "scalable".
// A missing image list or sound list leaves the button without one.
class ButtonObjectFactory : public IObjectFactory
{
public:
    Object* CreateObject(Label name, const IAttributeContainer& attributes) override;
};

} // namespace Strata
