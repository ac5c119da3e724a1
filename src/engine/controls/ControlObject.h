#pragma once

#include "controls/ImageListHandle.h"
#include "controls/ObjectComponents.h"
#include "core/Label.h"
#include "framework/Object.h"

#include <string>

namespace Strata
{

class IAttributeContainer;
class IImageList;
class SoundList;

// The image states of buttons and toggle controls.
enum eControlState : int
{
    ControlState_Normal = 0,
    ControlState_Hot = 1,
    ControlState_Pressed = 2,
    ControlState_Disabled = 3,
    ControlState_Focused = 4
};

// The base of every interactive layout object: drawing, bounds, colour, enabled flag, font, visibility
// and input handling, a hit test with an overridable per-pixel part, and the focus and mouse capture of
// the current object database. Main thread only.
class ControlObject : public Object,
                      public DrawableComponent,
                      public BoundsComponent,
                      public ColorComponent,
                      public EnableComponent,
                      public FontComponent,
                      public VisibleComponent,
                      public InputHandlerComponent
{
public:
    explicit ControlObject(Label name);
    ControlObject(Label name, float layer);
    ~ControlObject() override;

    Label GetName() const override;

    // Disabling (or hiding, below) a control that holds the mouse capture releases it: the database
    // no longer routes mouse events to the control, so it would never see the release that ends it.
    void Enable(bool enable) override;
    void SetVisible(bool visible) override;

    // Inside the bounds (left and top edges in, right and bottom edges out) and AlphaContains at the
    // point truncated toward zero.
    bool BoundsContains(float x, float y) override;
    // The per-pixel part of the hit test, in screen coordinates; true here.
    virtual bool AlphaContains(int x, int y);

    MessageResult OnKeyDown(int key) override;
    MessageResult OnKeyUp(int key) override;
    MessageResult OnMouseMove(int x, int y) override;
    MessageResult OnMouseDown(MouseButton button, int x, int y) override;
    MessageResult OnMouseUp(MouseButton button, int x, int y) override;

    // Focus and capture live in the current object database; without one there is neither and the
    // setters do nothing.
    bool HasFocus() const;
    void Focus();
    bool HasCapture() const;
    void Capture();
    // Clears the capture, whichever object holds it.
    void ReleaseCapture();

protected:
    Label mName;
};

// The image list resource named by the attribute `attribute`, held by a counted reference so that the
// control keeps it however its manifest is unloaded; null when the attribute is missing or empty, or no
// image list has that name.
ImageListHandle FindImageListAttribute(const IAttributeContainer& attributes, const wchar_t* attribute);
// The sound list resource named by the attribute; null when it is missing or empty, no sound list has
// that name, or no audio back end installed the sound-list hooks.
const SoundList* FindSoundListAttribute(const IAttributeContainer& attributes, const wchar_t* attribute);
// Plays the sound of `event` in `sounds`; nothing for a null list or an event without a sound.
void PlaySoundListEvent(const SoundList* sounds, const wchar_t* event);
// The per-pixel hit test of a control drawn from `images` at the corner of `bounds`: whether the pixel
// under the screen point is more opaque than `sensitivity`, read from the three-slice brush across the
// bounds' width when `threeSlice`, else from the first image. True for a sensitivity of 0 or a null or
// empty list; false for a point too far from the corner for an int offset.
bool ImageAlphaContains(const IImageList* images, bool threeSlice, const Rect<float>& bounds, int sensitivity, int x,
                        int y);

} // namespace Strata
