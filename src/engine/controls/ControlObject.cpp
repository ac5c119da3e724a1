#include "controls/ControlObject.h"

#include "framework/SoundListHooks.h"

#include "core/AttributeContainer.h"
#include "framework/ObjectDatabase.h"
#include "framework/ResourceDescriptor.h"
#include "graphics/Brush.h"
#include "graphics/ImageList.h"
#include "graphics/PixelMath.h"

#include <climits>

namespace Strata
{

ControlObject::ControlObject(Label name) : ControlObject(name, 0.0f)
{
}

ControlObject::ControlObject(Label name, float layer) : DrawableComponent(layer), mName(name)
{
}

ControlObject::~ControlObject() = default;

Label ControlObject::GetName() const
{
    return mName;
}

void ControlObject::Enable(bool enable)
{
    EnableComponent::Enable(enable);
    if (!enable && HasCapture())
        ReleaseCapture();
}

void ControlObject::SetVisible(bool visible)
{
    VisibleComponent::SetVisible(visible);
    if (!visible && HasCapture())
        ReleaseCapture();
}

bool ControlObject::BoundsContains(float x, float y)
{
    if (x < mBounds.x || y < mBounds.y || x >= mBounds.x + mBounds.width || y >= mBounds.y + mBounds.height)
        return false;
    return AlphaContains(Graphics::TruncateToInt(x), Graphics::TruncateToInt(y));
}

bool ControlObject::AlphaContains(int, int)
{
    return true;
}

MessageResult ControlObject::OnKeyDown(int)
{
    return MessageResult_Unhandled;
}

MessageResult ControlObject::OnKeyUp(int)
{
    return MessageResult_Unhandled;
}

MessageResult ControlObject::OnMouseMove(int, int)
{
    return MessageResult_Unhandled;
}

MessageResult ControlObject::OnMouseDown(MouseButton, int, int)
{
    return MessageResult_Unhandled;
}

MessageResult ControlObject::OnMouseUp(MouseButton, int, int)
{
    return MessageResult_Unhandled;
}

bool ControlObject::HasFocus() const
{
    const ObjectDatabase* database = GetObjectDatabase();
    return database && database->GetFocus() == static_cast<const Object*>(this);
}

void ControlObject::Focus()
{
    if (ObjectDatabase* database = GetObjectDatabase())
        database->SetFocus(this);
}

bool ControlObject::HasCapture() const
{
    const ObjectDatabase* database = GetObjectDatabase();
    return database && database->GetCapture() == static_cast<const Object*>(this);
}

void ControlObject::Capture()
{
    if (ObjectDatabase* database = GetObjectDatabase())
        database->SetCapture(this);
}

void ControlObject::ReleaseCapture()
{
    if (ObjectDatabase* database = GetObjectDatabase())
        database->SetCapture(nullptr);
}

ImageListHandle FindImageListAttribute(const IAttributeContainer& attributes, const wchar_t* attribute)
{
    const std::wstring name = attributes.GetAttribute(attribute);
    if (name.empty())
        return ImageListHandle();
    const AutoResource<IImageList> list(Label::FromString(name));
    return ImageListHandle(list.Get(), list.GetDescriptor());
}

const SoundList* FindSoundListAttribute(const IAttributeContainer& attributes, const wchar_t* attribute)
{
    const std::wstring name = attributes.GetAttribute(attribute);
    const auto find = GetSoundListHooks().find;
    if (name.empty() || find == nullptr)
        return nullptr;
    return find(Label::FromString(name));
}

void PlaySoundListEvent(const SoundList* sounds, const wchar_t* event)
{
    const auto play = GetSoundListHooks().play;
    if (sounds != nullptr && play != nullptr)
        play(*sounds, Label(event));
}

bool ImageAlphaContains(const IImageList* images, bool threeSlice, const Rect<float>& bounds, int sensitivity, int x,
                        int y)
{
    if (sensitivity == 0 || !images || images->GetNumImages() <= 0)
        return true;
    // In 64 bits: a point and a corner far apart could overflow an int difference.
    const long long localX = static_cast<long long>(x) - Graphics::TruncateToInt(bounds.x);
    const long long localY = static_cast<long long>(y) - Graphics::TruncateToInt(bounds.y);
    if (localX < INT_MIN || localX > INT_MAX || localY < INT_MIN || localY > INT_MAX)
        return false;
    const int lx = static_cast<int>(localX);
    const int ly = static_cast<int>(localY);
    const int alpha = threeSlice ? Graphics::GetThreeBrushPixelAlpha(images, 0, lx, ly, bounds.width)
                                 : images->GetImagePixelAlpha(0, lx, ly);
    return alpha > sensitivity;
}

} // namespace Strata
