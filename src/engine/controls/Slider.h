#pragma once

#include "controls/ControlObject.h"
#include "controls/ObjectFactory.h"

namespace Strata
{

class IImageList;
class SoundList;

// A horizontal slider (layout type "slider"): a thumb moving along a three-slice channel, standing for
// a value from 0 to 1, optionally snapped to evenly spaced ticks. Dragged with the mouse, or stepped with
// Left and Right while in keyboard adjustment mode (entered by key code 512, left by 512 or 513 or the
// loss of focus). Broadcasts "SliderValueChange" on every change the user makes and "SliderReleased"
// when the mouse is released over it, both with its identifier as the sender.
// Thumb states: 0 normal, 1 hot, 2 dragged, 3 disabled, 4 keyboard adjustment (lists of exactly 5).
class SliderObject : public ControlObject
{
public:
    static constexpr int kDefaultAlphaSensitivity = 25;
    static constexpr int kKeyEnterAdjustment = 512;
    static constexpr int kKeyLeaveAdjustment = 513;

    explicit SliderObject(Label name);
    ~SliderObject() override;

    // The value a thumb edge at `location` stands for. 0 when the channel leaves the thumb no room
    // (bounds no wider than thumb image 0, or no thumb images and a zero width).
    float ThumbLocationToValue(float location) const;
    // The thumb's left edge for `value`; the bounds' x when the thumb has no room to move.
    float ValueToThumbLocation(float value) const;
    float GetValue() const { return ThumbLocationToValue(mThumbLocation); }
    // Moves the thumb silently (snapped when snapping is on).
    void SetValue(float value);
    // Snaps when snapping is on (playing "Snap" for a notified change over 0.001), places the thumb and,
    // when notifying, broadcasts "SliderValueChange" even when nothing moved. Otherwise unclamped.
    void SetValueInternal(float value, bool notify);
    // The current value plus `step`, clamped to [0, 1], set with notification.
    void Slide(float step);
    // The thumb is not moved.
    void SetNumTicks(int count) { mNumTicks = count; }
    // Re-snaps the current value silently.
    void SetSnapToTicks(bool snap);
    // Keeps the value: the thumb is placed again in the new bounds.
    void SetBounds(const Rect<float>& bounds) override;
    // Set the channel images first: the height becomes the larger of thumb image 0's and channel image
    // 0's (kept when neither list has an image). The value goes to 0.
    void SetThumbImages(ImageListHandle images);
    void SetChannelImages(ImageListHandle images) { mChannelImages = std::move(images); }
    // Broadcasts "SliderValueChange" through the current object database; nothing without one.
    void ValueChange();
    // The nearest tick of `value` (the lower of two equally near); `value` itself without ticks.
    float NearestTick(float value) const;
    int GetThumbIndex();

    // False when snapping to one tick or none: the keys could not change anything.
    bool CanFocus() override;
    // True when the sensitivity is 0; else whether thumb image 0 is more opaque than the sensitivity
    // there (never without thumb images). The channel is never hit.
    bool AlphaContains(int x, int y) override;
    // "LostFocus" ends keyboard adjustment mode.
    void ReceiveMessage(const ObjectMessage& message) override;
    MessageResult OnKeyDown(int key) override;
    // Drags the thumb while captured; tracks hot. Never handled.
    MessageResult OnMouseMove(int x, int y) override;
    // Takes the capture when the thumb is hit; handled then.
    MessageResult OnMouseDown(MouseButton button, int x, int y) override;
    // Releases the capture; over the slider broadcasts "SliderReleased" and is handled.
    MessageResult OnMouseUp(MouseButton button, int x, int y) override;
    // Without channel or thumb images nothing is drawn, and that is logged once.
    void Draw() override;

    const IImageList* GetChannelImages() const { return mChannelImages; }
    const IImageList* GetThumbImages() const { return mThumbImages; }
    float GetThumbLocation() const { return mThumbLocation; }
    bool IsHot() const { return mHot; }
    int GetNumTicks() const { return mNumTicks; }
    bool GetSnapToTicks() const { return mSnapToTicks; }
    bool IsKeyboardActive() const { return mKeyboardActive; }
    int GetAlphaSensitivity() const { return mAlphaSensitivity; }
    void SetAlphaSensitivity(int sensitivity) { mAlphaSensitivity = sensitivity; }

    // The sounds of "Hot", "Down" and "Snap"; not owned. Null plays nothing.
    const SoundList* mSounds = nullptr;

private:
    float GetThumbWidth() const;
    // bounds width - thumb width, never below 0.
    float GetTrackLength() const;
    void PlaySoundEvent(const wchar_t* event);

    ImageListHandle mChannelImages;
    float mThumbLocation = 0.0f;
    ImageListHandle mThumbImages;
    float mDragOffset = 0.0f;
    bool mHot = false;
    int mAlphaSensitivity = kDefaultAlphaSensitivity;
    int mNumTicks = 0;
    bool mSnapToTicks = false;
    bool mKeyboardActive = false;
    bool mReportedMissingImages = false;
};

// Reads "channelImages", "thumbImages", "sounds", "alphaSensitivity" (default 25), "numTicks" (0) and
// "snapToTicks" (false), each only when present. A missing image or sound list leaves none.
class SliderObjectFactory : public IObjectFactory
{
public:
    Object* CreateObject(Label name, const IAttributeContainer& attributes) override;
};

} // namespace Strata
