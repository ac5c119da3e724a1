#include "controls/RadioButton.h"

#include "core/AttributeContainer.h"
#include "framework/AutoObject.h"
#include "framework/ObjectDatabase.h"

#include <cmath>
#include <memory>

namespace Strata
{

namespace
{

constexpr int kFocusImages = 5;
constexpr int kThreeSliceFocusImages = 15;

Label GetRadioButtonRole()
{
    static const Label role("RadioButton");
    return role;
}

Label GetRadioButtonClickMessageName()
{
    static const Label name("RadioButtonClick");
    return name;
}

} // namespace

RadioButtonObject::RadioButtonObject(Label name) : ToggleControlObject(name, 0.0f)
{
}

RadioButtonObject::~RadioButtonObject() = default;

Label RadioButtonObject::GetRole() const
{
    return GetRadioButtonRole();
}

void RadioButtonObject::SetGroup(Label group)
{
    mGroup = group.c_str()[0] == '\0' ? Label() : group;
}

bool RadioButtonObject::HasFocusImages() const
{
    const int count = GetNumImages();
    return count == kFocusImages || count == kThreeSliceFocusImages;
}

int RadioButtonObject::GetImageIndex() const
{
    if (!mEnabled)
        return ControlState_Disabled;
    if ((HasCapture() && mHot) || mChecked)
        return ControlState_Pressed;
    if (mHot)
        return ControlState_Hot;
    if (HasFocus())
        return HasFocusImages() ? ControlState_Focused : ControlState_Hot;
    return ControlState_Normal;
}

void RadioButtonObject::Click()
{
    mChecked = true;
    ObjectDatabase* database = GetObjectDatabase();
    if (database)
    {
        for (const ObjectID& id : database->GetObjectsWithRole(GetRadioButtonRole()))
        {
            // Told apart by identity: buttons sharing a name (or having none) still exclude each other.
            RadioButtonObject* other = AutoObject<RadioButtonObject>(id).Get();
            if (other && other != this && other->mGroup == mGroup)
                other->mChecked = false;
        }
    }
    if (mSounds)
        PlaySoundEvent(L"Checked");
    if (database)
        database->SendMessage(ObjectMessage(GetID(), GetRadioButtonClickMessageName()));
}

void RadioButtonObject::Draw()
{
    if (!mVisible)
        return;
    DrawStateImage(GetImageIndex());
    if (IsBackgroundThreeBrush())
    {
        DrawLabel(std::floor(mBounds.width * 0.5f + mBounds.x + 0.5f),
                  std::floor(mBounds.height * 0.5f + mBounds.y + 0.5f), HAlignment_Center, VAlignment_Middle);
    }
    else
    {
        DrawLabel(mTextRect.x, mTextRect.y, HAlignment_Left, VAlignment_Top);
    }
}

Object* RadioButtonObjectFactory::CreateObject(Label name, const IAttributeContainer& attributes)
{
    auto button = std::make_unique<RadioButtonObject>(name);
    if (attributes.HasAttribute(L"images"))
        button->SetImages(FindImageListAttribute(attributes, L"images"));
    button->mSounds = FindSoundListAttribute(attributes, L"sounds");
    button->SetAlphaSensitivity(
        attributes.GetAttribute(L"alphaSensitivity", ToggleControlObject::kDefaultAlphaSensitivity));
    if (attributes.HasAttribute(L"group"))
        button->SetGroup(Label::FromString(attributes.GetAttribute(L"group")));
    return button.release();
}

} // namespace Strata
