#pragma once

#include "core/Label.h"
#include "core/Vector2.h"
#include "framework/ObjectInterfaces.h"
#include "scene/SceneNode.h"
#include "scene/SceneNodeFactory.h"

#include <memory>

namespace Strata
{

class ImageList;
class IResourceDescriptor;
class SoundList;

// A horizontal slider: a three-slice channel and a thumb whose left edge, over the travel (the width
// less the thumb's), is the value between 0 and 1. Follows drags of the thumb and clicks on the
// channel; once focused and engaged with key 512 the arrow keys move it. Sends "SliderValueChange"
// and "SliderReleased" with its identifier as sender; plays "Hot" and "Down" from its sound list.
//
// With no travel (a thumb as wide as the node, or wider) the value is 0 and the thumb stays
// at the left edge; values derived from the thumb are always within [0, 1].
class SliderNode : public SceneNode, public EnableComponent
{
public:
    // The lists must outlive their use here (unless SetHolders keeps them alive); null draws nothing.
    SliderNode(Label name, const Vector2<float>& location, const ImageList* channelImages, const ImageList* thumbImages,
               const ImageList* disableImages, float width, float initialValue);

    // Keeps resources alive as long as the node.
    void HoldResources(std::shared_ptr<IResourceDescriptor> first, std::shared_ptr<IResourceDescriptor> second,
                       std::shared_ptr<IResourceDescriptor> third);
    // Not owned; null plays nothing.
    void SetSounds(const SoundList* sounds) { mSounds = sounds; }

    float GetValue() const { return ThumbOffsetToValue(mThumbOffset.x); }
    // Without a message; the value is kept within [0, 1].
    void SetValue(float value) { SetValueInternal(value, false); }
    const Vector2<float>& GetThumbOffset() const { return mThumbOffset; }
    bool IsHot() const { return mHot; }
    bool IsEngaged() const { return mEngaged; }
    // The thumb frame DrawAt uses now.
    int GetThumbFrame();

    float ThumbOffsetToValue(float offset) const;
    float ValueToThumbOffset(float value) const;
    bool PointIntersectsThumb(const Vector2<int>& point);
    bool PointIntersectsChannel(const Vector2<int>& point);

    // "LostFocus" ends the keyboard mode; everything else goes to SceneNode.
    void ReceiveMessage(const ObjectMessage& message) override;
    MessageResult OnKeyDown(int key) override;
    // Drags the thumb while the slider holds the capture, else tracks the hot state. Never handled.
    MessageResult OnMouseMove(int x, int y) override;
    bool CanFocus() override { return true; }
    bool GlobalPointIntersects(const Vector2<float>& point) override;
    void DrawAt(const Vector2<float>& offset) override;

    int alphaSensitivity = 25;

private:
    float Travel() const;
    float ThumbWidth() const;
    void SetValueInternal(float value, bool notify);
    void Slide(float delta);
    void ValueChange();
    void HandleMouseDown(int x, int y);
    void HandleMouseUp(int x, int y);
    void HandleMouseUpOutsideNode();
    void HandleMouseEntered();
    void PlaySound(const wchar_t* event);

    const ImageList* mChannelImages;
    const ImageList* mDisableImages;
    Vector2<float> mThumbOffset;
    const ImageList* mThumbImages;
    float mGrabOffset = 0.0f;
    bool mHot = false;
    bool mEngaged = false;
    const SoundList* mSounds = nullptr;
    std::shared_ptr<IResourceDescriptor> mHolders[3];
};

class SliderNodeDescriptor : public SceneNodeDescriptor
{
public:
    Label channelImages;
    Label thumbImages;
    Label disableImages;
    float width = 0.0f;
    float thumbOffsetY = 0.0f;
    float initialValue = 0.0f;
    int alphaSensitivity = 25;
    Label sounds;
};

// "slidernode": "channelImages", "disableImages" (default: the channel's), "thumbImages", "width",
// "thumbOffsetY", "initialValue", "alphaSensitivity" (default 25), "sounds".
class SliderNodeFactory : public SceneNodeFactory
{
public:
    std::unique_ptr<SceneNodeDescriptor> CreateDescriptor(const IAttributeContainer& element) const override;
    SceneTreePtr CreateNode(const SceneNodeDescriptor* descriptor) const override;
};

// Key codes with which focused widgets are engaged and disengaged.
constexpr int kWidgetEngageKey = 512;
constexpr int kWidgetDisengageKey = 513;

} // namespace Strata
