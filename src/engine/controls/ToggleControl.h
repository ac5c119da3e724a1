#pragma once

#include "controls/ObjectComponents.h"
#include "controls/PressableControl.h"
#include "core/Color.h"
#include "core/Rect.h"
#include "core/Vector2.h"

#include <string>

namespace Strata
{

class Font;
class IImageList;

// What the check box and the radio button share: an image (or a three-slice strip stretched to the
// width) per state, a text label to the right that is part of the clickable area, the mouse and key
// handling that ends in Click, and optional sounds. States: 0 normal, 1 hot, 2 pressed, 3 disabled,
// 4 focused. Main thread only.
class ToggleControlObject : public PressableControlObject, public TextComponent
{
public:
    static constexpr int kDefaultAlphaSensitivity = 25;
    // Lists with more images than this hold three-slice strips, three images per state.
    static constexpr int kMaxSingleImages = 10;

    ToggleControlObject(Label name, float layer);
    ~ToggleControlObject() override;

    // Stores the list (not owned; null or empty is no list). The height becomes image 0's; a list of
    // single images also sets the width to image 0's, a three-slice list keeps it.
    void SetImages(ImageListHandle images);
    const IImageList* GetImages() const { return mImages; }
    bool IsBackgroundThreeBrush() const;
    virtual bool HasFocusImages() const = 0;
    virtual int GetImageIndex() const = 0;

    // Stores the text; with a font, also places the label from the bounds and font of this moment.
    // The label does not follow later moves until the text is set again.
    void SetText(const std::wstring& text) override;
    const Rect<float>& GetTextRect() const { return mTextRect; }

    // The control's own test, or (with a font) inside the label.
    bool BoundsContains(float x, float y) override;
    // True without a pixel test (sensitivity 0, no or an empty list); else whether the alpha of the
    // normal unchecked image (or strip) under the point is above the sensitivity.
    bool AlphaContains(int x, int y) override;
    // Enter, Space and GamePadA click while focused.
    MessageResult OnKeyDown(int key) override;
    int GetAlphaSensitivity() const { return mAlphaSensitivity; }
    // Pixels with an alpha not above it miss the control; 0 turns the pixel test off.
    void SetAlphaSensitivity(int sensitivity) { mAlphaSensitivity = sensitivity; }

protected:
    // The name used in this control's log lines.
    virtual const char* GetKindName() const = 0;
    int GetNumImages() const;
    // The image or strip of `state` at the bounds' location. Without a list nothing is drawn and
    // the first such draw writes one log line.
    void DrawStateImage(int state);
    // The label in a copy of the current draw state with the control's font and colour. With text
    // but no font nothing is drawn and the first such draw writes one log line.
    void DrawLabel(float x, float y, HAlignment hAlign, VAlignment vAlign);

    ImageListHandle mImages;
    Rect<float> mTextRect;
    int mAlphaSensitivity = kDefaultAlphaSensitivity;

private:
    bool mReportedNoImages = false;
    bool mReportedNoFont = false;
};

} // namespace Strata
