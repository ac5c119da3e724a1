#include "scene/SliderNode.h"

#include "core/AttributeContainer.h"
#include "framework/ObjectDatabase.h"
#include "framework/SoundListHooks.h"
#include "graphics/Brush.h"
#include "graphics/Context.h"
#include "graphics/Drawing.h"
#include "graphics/ImageList.h"
#include "graphics/PixelMath.h"
#include "scene/NodeResources.h"

#include <algorithm>
#include <cmath>

namespace Strata
{

namespace
{

using Graphics::TruncateToInt;

// Within [0, 1]; NaN as 0.
float ClampUnit(float value)
{
    return value > 0.0f ? std::min(value, 1.0f) : 0.0f;
}

// Left and top edges inside, right and bottom outside.
bool Inside(const Rect<int>& r, const Vector2<int>& p)
{
    return p.x >= r.x && p.y >= r.y && p.x - r.x < r.width && p.y - r.y < r.height;
}

void SendWidgetMessage(SceneNode& node, Label message)
{
    ObjectDatabase* database = node.GetDatabase() ? node.GetDatabase() : GetObjectDatabase();
    if (database != nullptr)
        database->SendMessage(ObjectMessage(node.GetID(), message));
}

} // namespace

SliderNode::SliderNode(Label name, const Vector2<float>& location, const ImageList* channelImages,
                       const ImageList* thumbImages, const ImageList* disableImages, float width, float initialValue)
    : SceneNode(name), mChannelImages(channelImages), mDisableImages(disableImages), mThumbOffset(location),
      mThumbImages(thumbImages)
{
    LocalSetLocation(location);
    SetWidth(width);
    mThumbOffset.x = ValueToThumbOffset(initialValue);
    const int thumbHeight = mThumbImages ? mThumbImages->GetImageHeight(0) : 0;
    const int channelHeight = mChannelImages ? mChannelImages->GetImageHeight(0) : 0;
    SetHeight(static_cast<float>(std::max(thumbHeight, channelHeight)));
    hitTest = true;
    mouseDownSignal.connect([this](SceneNode*, MouseButton, int x, int y) { HandleMouseDown(x, y); });
    mouseUpSignal.connect([this](SceneNode*, MouseButton, int x, int y) { HandleMouseUp(x, y); });
    captureMouseUpSignal.connect([this](SceneNode*, MouseButton, int, int) { HandleMouseUpOutsideNode(); });
}

void SliderNode::HoldResources(std::shared_ptr<IResourceDescriptor> first, std::shared_ptr<IResourceDescriptor> second,
                               std::shared_ptr<IResourceDescriptor> third)
{
    mHolders[0] = std::move(first);
    mHolders[1] = std::move(second);
    mHolders[2] = std::move(third);
}

float SliderNode::ThumbWidth() const
{
    return mThumbImages ? static_cast<float>(mThumbImages->GetImageWidth(0)) : 0.0f;
}

float SliderNode::Travel() const
{
    const float travel = GetWidth() - ThumbWidth();
    return std::isfinite(travel) && travel > 0.0f ? travel : 0.0f;
}

float SliderNode::ThumbOffsetToValue(float offset) const
{
    const float travel = Travel();
    return travel > 0.0f ? ClampUnit(offset / travel) : 0.0f;
}

float SliderNode::ValueToThumbOffset(float value) const
{
    return Travel() * ClampUnit(value);
}

bool SliderNode::PointIntersectsThumb(const Vector2<int>& p)
{
    if (mThumbImages == nullptr)
        return false;
    const Rect<float>& bounds = LocalGetBounds();
    const int left = TruncateToInt(bounds.x + mThumbOffset.x);
    const int top = TruncateToInt(bounds.y);
    const Rect<int> thumb(left, top, mThumbImages->GetImageWidth(0), mThumbImages->GetImageHeight(0));
    if (!Inside(thumb, p))
        return false;
    return alphaSensitivity == 0 || mThumbImages->GetImagePixelAlpha(0, p.x - left, p.y - top) > alphaSensitivity;
}

bool SliderNode::PointIntersectsChannel(const Vector2<int>& p)
{
    if (mChannelImages == nullptr)
        return false;
    const Rect<float>& bounds = LocalGetBounds();
    const int left = TruncateToInt(bounds.x);
    const int top = TruncateToInt(bounds.y);
    const Rect<int> channel(left, top, TruncateToInt(bounds.width), mChannelImages->GetImageHeight(0));
    if (!Inside(channel, p))
        return false;
    return alphaSensitivity == 0 ||
           Graphics::GetThreeBrushPixelAlpha(mChannelImages, 0, p.x - left, p.y - top, bounds.width) != 0;
}

bool SliderNode::GlobalPointIntersects(const Vector2<float>& point)
{
    const Vector2<int> p = GlobalToLocalPoint(Vector2<int>(TruncateToInt(point.x), TruncateToInt(point.y)));
    return PointIntersectsChannel(p) || PointIntersectsThumb(p);
}

void SliderNode::SetValueInternal(float value, bool notify)
{
    mThumbOffset.x = ValueToThumbOffset(value);
    if (notify)
        ValueChange();
}

void SliderNode::Slide(float delta)
{
    SetValueInternal(ClampUnit(GetValue() + delta), true);
}

void SliderNode::ValueChange()
{
    static const Label message("SliderValueChange");
    SendWidgetMessage(*this, message);
}

void SliderNode::PlaySound(const wchar_t* event)
{
    const auto play = GetSoundListHooks().play;
    if (mSounds != nullptr && play != nullptr)
        play(*mSounds, Label(event));
}

void SliderNode::HandleMouseDown(int x, int y)
{
    if (!IsEnabled())
        return;
    const Vector2<int> p = GlobalToLocalPoint(Vector2<int>(x, y));
    if (PointIntersectsThumb(p))
    {
        Capture();
        mGrabOffset = static_cast<float>(p.x) - mThumbOffset.x;
        PlaySound(L"Down");
        return;
    }
    const float offset = std::clamp(static_cast<float>(p.x) - LocalGetBounds().x - ThumbWidth() * 0.5f, 0.0f, Travel());
    SetValueInternal(ThumbOffsetToValue(offset), true);
    HandleMouseEntered();
}

MessageResult SliderNode::OnMouseMove(int x, int y)
{
    const Vector2<int> p = GlobalToLocalPoint(Vector2<int>(x, y));
    if (HasCapture())
    {
        if (IsEnabled())
        {
            const float offset = std::clamp(static_cast<float>(p.x) - mGrabOffset, 0.0f, Travel());
            SetValueInternal(ThumbOffsetToValue(offset), true);
        }
    }
    else if (!mHot && PointIntersectsThumb(p))
    {
        HandleMouseEntered();
    }
    else if (mHot && IsEnabled() && !PointIntersectsThumb(p))
    {
        mHot = false;
    }
    return MessageResult_Unhandled;
}

void SliderNode::HandleMouseEntered()
{
    if (!IsEnabled())
        return;
    mHot = true;
    if (!HasCapture())
        PlaySound(L"Hot");
}

void SliderNode::HandleMouseUp(int, int)
{
    if (!HasCapture())
        return;
    // The release ends the drag even when the slider was disabled during it; only the message waits on
    // the enabled flag.
    ReleaseCapture();
    if (IsEnabled())
    {
        static const Label message("SliderReleased");
        SendWidgetMessage(*this, message);
    }
}

void SliderNode::HandleMouseUpOutsideNode()
{
    ReleaseCapture();
}

void SliderNode::ReceiveMessage(const ObjectMessage& message)
{
    if (message.GetName() == GetLostFocusMessageName())
    {
        mEngaged = false;
        return;
    }
    SceneNode::ReceiveMessage(message);
}

MessageResult SliderNode::OnKeyDown(int key)
{
    if (!HasFocus())
        return MessageResult_Unhandled;
    if (mEngaged && (key == kWidgetEngageKey || key == kWidgetDisengageKey))
        mEngaged = false;
    else if (key == kWidgetEngageKey)
        mEngaged = true;
    else if (mEngaged && key == 37)
        Slide(-0.05f);
    else if (mEngaged && key == 39)
        Slide(0.05f);
    else
        return MessageResult_Unhandled;
    return MessageResult_Handled;
}

int SliderNode::GetThumbFrame()
{
    if (!IsEnabled())
        return 3;
    if (HasCapture())
        return 2;
    if (mHot)
        return 1;
    if (mEngaged && HasFocus())
        return mThumbImages && mThumbImages->GetNumImages() == 5 ? 4 : 1;
    return 0;
}

void SliderNode::DrawAt(const Vector2<float>& offset)
{
    if (!GlobalIsVisible())
        return;
    const Rect<float> bounds = GlobalGetBounds();
    Graphics::sDrawState state = Graphics::GetDrawState();
    state.imageColor.a = GlobalGetColor().a;
    if (clipEnabled)
        state.clipRect = clipRect;
    ICanvas* canvas = Graphics::GetCanvas();
    if (const ImageList* channel = IsEnabled() ? mChannelImages : mDisableImages)
    {
        // The drawing calls take lists as changeable (a canvas may cache textures); the images stay.
        Graphics::DrawThreeBrush(const_cast<ImageList*>(channel), bounds.x + offset.x, bounds.y + offset.y, GetWidth(),
                                 state, canvas);
    }
    if (!mEngaged && HasFocus())
    {
        Graphics::sDrawState shade = state;
        shade.color = ColorF(1.0f, 1.0f, 1.0f, GlobalGetColor().a * 0.5f);
        Graphics::DrawFilledRect(bounds, shade, canvas);
    }
    if (mThumbImages != nullptr)
    {
        DrawImage(mThumbImages->GetImage(GetThumbFrame()),
                  Vector2<float>(mThumbOffset.x + offset.x, mThumbOffset.y + offset.y), false);
    }
}

std::unique_ptr<SceneNodeDescriptor> SliderNodeFactory::CreateDescriptor(const IAttributeContainer& element) const
{
    auto descriptor = std::make_unique<SliderNodeDescriptor>();
    const std::wstring channel = element.GetAttribute(L"channelImages");
    descriptor->channelImages = Label::FromString(channel);
    descriptor->disableImages =
        Label::FromString(element.HasAttribute(L"disableImages") ? element.GetAttribute(L"disableImages") : channel);
    descriptor->thumbImages = Label::FromString(element.GetAttribute(L"thumbImages"));
    descriptor->width = FiniteLayoutAttribute(element, L"width", 0.0f);
    descriptor->thumbOffsetY = FiniteLayoutAttribute(element, L"thumbOffsetY", 0.0f);
    descriptor->initialValue = FiniteLayoutAttribute(element, L"initialValue", 0.0f);
    descriptor->alphaSensitivity = element.GetAttribute(L"alphaSensitivity", 25);
    descriptor->sounds = Label::FromString(element.GetAttribute(L"sounds"));
    return descriptor;
}

SceneTreePtr SliderNodeFactory::CreateNode(const SceneNodeDescriptor* descriptor) const
{
    const auto* own = dynamic_cast<const SliderNodeDescriptor*>(descriptor);
    if (own == nullptr)
        return nullptr;
    HeldResource<ImageList> channel = FindNodeResource<ImageList>("slidernode", "image list", own->channelImages);
    HeldResource<ImageList> thumb = FindNodeResource<ImageList>("slidernode", "image list", own->thumbImages);
    HeldResource<ImageList> disabled = FindNodeResource<ImageList>("slidernode", "image list", own->disableImages);
    auto* node = new SliderNode(Label(), Vector2<float>(0.0f, own->thumbOffsetY), channel.resource, thumb.resource,
                                disabled.resource, own->width, own->initialValue);
    SceneTreePtr tree(node);
    node->HoldResources(std::move(channel.holder), std::move(thumb.holder), std::move(disabled.holder));
    node->alphaSensitivity = own->alphaSensitivity;
    const auto find = GetSoundListHooks().find;
    if (!own->sounds.IsNull() && *own->sounds.c_str() != '\0' && find != nullptr)
        node->SetSounds(find(own->sounds));
    return tree;
}

} // namespace Strata
