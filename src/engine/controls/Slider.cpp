#include "controls/Slider.h"

#include "core/AttributeContainer.h"
#include "core/KeyCodes.h"
#include "core/Log.h"
#include "framework/ObjectDatabase.h"
#include "graphics/Brush.h"
#include "graphics/Context.h"
#include "graphics/Drawing.h"
#include "graphics/ImageList.h"
#include "graphics/PixelMath.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace Strata
{

namespace
{

constexpr int kStateNormal = 0;
constexpr int kStateHot = 1;
constexpr int kStateDragged = 2;
constexpr int kStateDisabled = 3;
constexpr int kStateKeyboard = 4;
constexpr int kKeyboardImages = 5;

constexpr float kKeyStep = 0.05f;
constexpr float kSnapSoundThreshold = 0.001f;

Label GetSliderValueChangeMessageName()
{
    static const Label name("SliderValueChange");
    return name;
}

Label GetSliderReleasedMessageName()
{
    static const Label name("SliderReleased");
    return name;
}

} // namespace

SliderObject::SliderObject(Label name) : ControlObject(name)
{
}

SliderObject::~SliderObject() = default;

float SliderObject::GetThumbWidth() const
{
    if (!mThumbImages || mThumbImages->GetNumImages() <= 0)
        return 0.0f;
    return static_cast<float>(mThumbImages->GetImageWidth(0));
}

float SliderObject::GetTrackLength() const
{
    const float length = mBounds.width - GetThumbWidth();
    return length > 0.0f ? length : 0.0f;
}

float SliderObject::ThumbLocationToValue(float location) const
{
    const float length = GetTrackLength();
    // A thumb with no room to move has one position, and it stands for 0 (never 0 / 0).
    if (!(length > 0.0f))
        return 0.0f;
    return (location - mBounds.x) / length;
}

float SliderObject::ValueToThumbLocation(float value) const
{
    return GetTrackLength() * value + mBounds.x;
}

float SliderObject::NearestTick(float value) const
{
    if (mNumTicks <= 0)
        return value;
    // One tick sits at 1 (its spacing 1 / 0 would be infinite).
    if (mNumTicks == 1)
        return 1.0f;
    const float spacing = 1.0f / static_cast<float>(mNumTicks - 1);
    auto tick = [spacing](long long i)
    {
        const float t = static_cast<float>(i) * spacing;
        return t >= 1.0f ? 1.0f : (t <= 0.0f ? 0.0f : t);
    };
    // Only the ticks around the value can be nearest: no walk over a huge tick count. The candidates
    // are tried in ascending order, so an equal distance keeps the lower one.
    const long long last = mNumTicks - 1;
    const float position = value * static_cast<float>(last);
    long long around = 0;
    if (position >= static_cast<float>(last))
        around = last;
    else if (position > 0.0f)
        around = static_cast<long long>(position);
    float best = tick(std::max(0LL, around - 1));
    float bestDistance = std::fabs(best - value);
    for (long long i = std::max(0LL, around - 1) + 1; i <= std::min(last, around + 2); ++i)
    {
        const float t = tick(i);
        const float distance = std::fabs(t - value);
        if (distance < bestDistance)
        {
            best = t;
            bestDistance = distance;
        }
    }
    return best;
}

void SliderObject::SetValue(float value)
{
    SetValueInternal(value, false);
}

void SliderObject::SetValueInternal(float value, bool notify)
{
    if (mSnapToTicks)
    {
        const float old = GetValue();
        value = NearestTick(value);
        if (notify && mSounds && std::fabs(value - old) > kSnapSoundThreshold)
            PlaySoundEvent(L"Snap");
    }
    mThumbLocation = ValueToThumbLocation(value);
    if (notify)
        ValueChange();
}

void SliderObject::Slide(float step)
{
    SetValueInternal(std::clamp(GetValue() + step, 0.0f, 1.0f), true);
}

void SliderObject::SetSnapToTicks(bool snap)
{
    mSnapToTicks = snap;
    SetValueInternal(GetValue(), false);
}

void SliderObject::SetBounds(const Rect<float>& bounds)
{
    const float value = GetValue();
    mBounds = bounds;
    SetValueInternal(value, false);
}

void SliderObject::SetThumbImages(ImageListHandle images)
{
    mThumbImages = images;
    const bool thumb = mThumbImages && mThumbImages->GetNumImages() > 0;
    const bool channel = mChannelImages && mChannelImages->GetNumImages() > 0;
    if (thumb || channel)
    {
        const int thumbHeight = thumb ? mThumbImages->GetImageHeight(0) : 0;
        const int channelHeight = channel ? mChannelImages->GetImageHeight(0) : 0;
        SetHeight(static_cast<float>(std::max(thumbHeight, channelHeight)));
    }
    SetValue(0.0f);
}

void SliderObject::ValueChange()
{
    if (ObjectDatabase* database = GetObjectDatabase())
        database->SendMessage(ObjectMessage(GetID(), GetSliderValueChangeMessageName()));
}

bool SliderObject::CanFocus()
{
    return !(mSnapToTicks && mNumTicks <= 1);
}

bool SliderObject::AlphaContains(int x, int y)
{
    if (mAlphaSensitivity == 0)
        return true;
    if (!mThumbImages || mThumbImages->GetNumImages() <= 0)
        return false;
    const int localX = Graphics::TruncateToInt(static_cast<float>(x) - mThumbLocation);
    const int localY = Graphics::TruncateToInt(static_cast<float>(y) - mBounds.y);
    return mThumbImages->GetImagePixelAlpha(0, localX, localY) > mAlphaSensitivity;
}

void SliderObject::ReceiveMessage(const ObjectMessage& message)
{
    if (message.GetName() == GetLostFocusMessageName())
        mKeyboardActive = false;
}

MessageResult SliderObject::OnKeyDown(int key)
{
    if (!HasFocus())
        return MessageResult_Unhandled;
    if (mKeyboardActive && (key == kKeyEnterAdjustment || key == kKeyLeaveAdjustment))
    {
        mKeyboardActive = false;
        return MessageResult_Handled;
    }
    if (key == kKeyEnterAdjustment)
    {
        mKeyboardActive = true;
        return MessageResult_Handled;
    }
    if (!mKeyboardActive || (key != Key_Left && key != Key_Right))
        return MessageResult_Unhandled;
    float step = kKeyStep;
    if (mSnapToTicks)
        step = mNumTicks > 1 ? 1.0f / static_cast<float>(mNumTicks - 1) : 0.0f;
    Slide(key == Key_Left ? -step : step);
    return MessageResult_Handled;
}

MessageResult SliderObject::OnMouseMove(int x, int y)
{
    const float px = static_cast<float>(x);
    if (HasCapture())
    {
        // Clamped by hand: with no room to move the upper end equals the lower one.
        const float location = std::min(std::max(px - mDragOffset, mBounds.x), mBounds.x + GetTrackLength());
        SetValueInternal(ThumbLocationToValue(location), true);
    }
    const bool wasHot = mHot;
    mHot = BoundsContains(px, static_cast<float>(y));
    if (mSounds && mHot && !wasHot && !HasCapture())
        PlaySoundEvent(L"Hot");
    return MessageResult_Unhandled;
}

MessageResult SliderObject::OnMouseDown(MouseButton, int x, int y)
{
    mHot = BoundsContains(static_cast<float>(x), static_cast<float>(y));
    if (!mHot)
        return MessageResult_Unhandled;
    Capture();
    mDragOffset = static_cast<float>(x) - mThumbLocation;
    if (mSounds)
        PlaySoundEvent(L"Down");
    return MessageResult_Handled;
}

MessageResult SliderObject::OnMouseUp(MouseButton, int x, int y)
{
    mHot = BoundsContains(static_cast<float>(x), static_cast<float>(y));
    if (HasCapture())
        ReleaseCapture();
    if (!mHot)
        return MessageResult_Unhandled;
    if (ObjectDatabase* database = GetObjectDatabase())
        database->SendMessage(ObjectMessage(GetID(), GetSliderReleasedMessageName()));
    return MessageResult_Handled;
}

int SliderObject::GetThumbIndex()
{
    if (!IsEnabled())
        return kStateDisabled;
    if (HasCapture())
        return kStateDragged;
    if (mHot)
        return kStateHot;
    if (CanFocus() && HasFocus() && mKeyboardActive)
        return mThumbImages && mThumbImages->GetNumImages() == kKeyboardImages ? kStateKeyboard : kStateHot;
    return kStateNormal;
}

void SliderObject::PlaySoundEvent(const wchar_t* event)
{
    PlaySoundListEvent(mSounds, event);
}

void SliderObject::Draw()
{
    if (!mVisible)
        return;
    if (!mChannelImages || !mThumbImages)
    {
        if (!mReportedMissingImages)
        {
            mReportedMissingImages = true;
            Internal::LogWrite("SliderObject %s: no %s images, so it is not drawn.\n", mName.c_str(),
                               mChannelImages ? "thumb" : "channel");
        }
        return;
    }
    const Graphics::sDrawState& state = Graphics::GetDrawState();
    ICanvas* canvas = Graphics::GetCanvas();
    // The drawing calls take the lists as mutable; they only read them.
    Graphics::DrawThreeBrush(const_cast<IImageList*>(mChannelImages.Get()), 0, mBounds.x, mBounds.y, mBounds.width,
                             state, canvas);
    if (HasFocus() && !mKeyboardActive)
    {
        Graphics::sDrawState highlight = state;
        highlight.color = ColorF(1.0f, 1.0f, 1.0f, 0.5f);
        Graphics::DrawFilledRect(mBounds, highlight, canvas);
    }
    Graphics::DrawImageList(const_cast<IImageList*>(mThumbImages.Get()), GetThumbIndex(), mThumbLocation, mBounds.y,
                            state, canvas);
}

Object* SliderObjectFactory::CreateObject(Label name, const IAttributeContainer& attributes)
{
    auto slider = std::make_unique<SliderObject>(name);
    if (attributes.HasAttribute(L"channelImages"))
        slider->SetChannelImages(FindImageListAttribute(attributes, L"channelImages"));
    if (attributes.HasAttribute(L"thumbImages"))
        slider->SetThumbImages(FindImageListAttribute(attributes, L"thumbImages"));
    slider->mSounds = FindSoundListAttribute(attributes, L"sounds");
    if (attributes.HasAttribute(L"alphaSensitivity"))
    {
        slider->SetAlphaSensitivity(
            attributes.GetAttribute(L"alphaSensitivity", SliderObject::kDefaultAlphaSensitivity));
    }
    if (attributes.HasAttribute(L"numTicks"))
        slider->SetNumTicks(attributes.GetAttribute(L"numTicks", 0));
    if (attributes.HasAttribute(L"snapToTicks"))
        slider->SetSnapToTicks(attributes.GetAttribute(L"snapToTicks", false));
    return slider.release();
}

} // namespace Strata
