#include "controls/CheckBox.h"

#include "core/AttributeContainer.h"
#include "core/KeyCodes.h"
#include "core/Log.h"
#include "framework/ObjectDatabase.h"
#include "graphics/Brush.h"
#include "graphics/Context.h"
#include "graphics/Drawing.h"
#include "graphics/Font.h"
#include "graphics/ImageList.h"

#include <cmath>
#include <memory>

namespace Strata
{

namespace
{

constexpr int kSlicesPerState = 3;
constexpr int kFocusImages = 10;
constexpr int kThreeSliceFocusImages = 30;

Label GetCheckBoxClickMessageName()
{
    static const Label name("CheckBoxClick");
    return name;
}

} // namespace

// --- CheckBoxObject -----------------------------------------------------------------------------

CheckBoxObject::CheckBoxObject(Label name) : ToggleControlObject(name, 0.0f)
{
    SetText(mText);
}

CheckBoxObject::CheckBoxObject(Label name, float layer, const Vector2<float>& location, ImageListHandle images,
                               float width, const std::wstring& text, const Font* font, const ColorF& color)
    : ToggleControlObject(name, layer)
{
    mColor = color;
    SetFont(font);
    mBounds.x = location.x;
    mBounds.y = location.y;
    mBounds.width = width;
    SetImages(std::move(images));
    SetText(text);
}

CheckBoxObject::~CheckBoxObject() = default;

bool CheckBoxObject::HasFocusImages() const
{
    const int count = GetNumImages();
    return count == kFocusImages || count == kThreeSliceFocusImages;
}

int CheckBoxObject::GetImageIndex() const
{
    int state = ControlState_Normal;
    if (!mEnabled)
        state = ControlState_Disabled;
    else if (HasCapture() && mHot)
        state = ControlState_Pressed;
    else if (mHot)
        state = ControlState_Hot;
    else if (HasFocus())
        state = HasFocusImages() ? ControlState_Focused : ControlState_Hot;
    if (mChecked)
    {
        // The checked looks are the second half of the list.
        state += IsBackgroundThreeBrush() ? GetNumImages() / (2 * kSlicesPerState) : GetNumImages() / 2;
    }
    return state;
}

void CheckBoxObject::Click()
{
    mChecked = !mChecked;
    if (mSounds)
        PlaySoundEvent(mChecked ? L"Checked" : L"Unchecked");
    if (ObjectDatabase* database = GetObjectDatabase())
        database->SendMessage(ObjectMessage(GetID(), GetCheckBoxClickMessageName()));
}

void CheckBoxObject::Draw()
{
    if (!mVisible)
        return;
    DrawStateImage(GetImageIndex());
    DrawLabel(mTextRect.x, mTextRect.y, HAlignment_Left, VAlignment_Top);
}

Object* CheckBoxObjectFactory::CreateObject(Label name, const IAttributeContainer& attributes)
{
    auto box = std::make_unique<CheckBoxObject>(name);
    if (attributes.HasAttribute(L"images"))
        box->SetImages(FindImageListAttribute(attributes, L"images"));
    box->mSounds = FindSoundListAttribute(attributes, L"sounds");
    box->SetAlphaSensitivity(
        attributes.GetAttribute(L"alphaSensitivity", ToggleControlObject::kDefaultAlphaSensitivity));
    return box.release();
}

} // namespace Strata
