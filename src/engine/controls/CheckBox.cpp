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
constexpr float kLabelGap = 5.0f;

Label GetCheckBoxClickMessageName()
{
    static const Label name("CheckBoxClick");
    return name;
}

} // namespace

// --- ToggleControlObject ---------------------------------------------------------------------------

ToggleControlObject::ToggleControlObject(Label name, float layer) : PressableControlObject(name, layer)
{
}

ToggleControlObject::~ToggleControlObject() = default;

int ToggleControlObject::GetNumImages() const
{
    return mImages ? mImages->GetNumImages() : 0;
}

bool ToggleControlObject::IsBackgroundThreeBrush() const
{
    return GetNumImages() > kMaxSingleImages;
}

void ToggleControlObject::SetImages(ImageListHandle images)
{
    mImages = images;
    if (GetNumImages() <= 0)
        return;
    if (!IsBackgroundThreeBrush())
        SetWidth(static_cast<float>(mImages->GetImageWidth(0)));
    SetHeight(static_cast<float>(mImages->GetImageHeight(0)));
}

void ToggleControlObject::SetText(const std::wstring& text)
{
    TextComponent::SetText(text);
    if (!mFont)
        return;
    const int glyphHeight = mFont->GetGlyphHeight();
    mTextRect.x = mBounds.x + mBounds.width + kLabelGap;
    mTextRect.y = std::floor((mBounds.height * 0.5f + mBounds.y) - static_cast<float>(glyphHeight / 2) + 0.5f);
    mTextRect.width = static_cast<float>(mFont->GetStringWidth(mText.c_str()));
    mTextRect.height = static_cast<float>(glyphHeight);
}

bool ToggleControlObject::BoundsContains(float x, float y)
{
    if (ControlObject::BoundsContains(x, y))
        return true;
    return mFont && x >= mTextRect.x && y >= mTextRect.y && x < mTextRect.x + mTextRect.width &&
           y < mTextRect.y + mTextRect.height;
}

bool ToggleControlObject::AlphaContains(int x, int y)
{
    return ImageAlphaContains(mImages.Get(), IsBackgroundThreeBrush(), mBounds, mAlphaSensitivity, x, y);
}

MessageResult ToggleControlObject::OnKeyDown(int key)
{
    const bool clickKey = key == Key_Enter || key == Key_Space || key == Key_GamePadA;
    if (clickKey && HasFocus())
    {
        Click();
        return MessageResult_Handled;
    }
    return MessageResult_Unhandled;
}

void ToggleControlObject::DrawStateImage(int state)
{
    if (GetNumImages() <= 0)
    {
        if (!mReportedNoImages)
        {
            mReportedNoImages = true;
            Internal::LogWrite("%s '%s' has no image list; its images are not drawn.\n", GetKindName(), mName.c_str());
        }
        return;
    }
    const Graphics::sDrawState& drawState = Graphics::GetDrawState();
    // The drawing calls take the list as mutable; they only read it.
    IImageList* images = const_cast<IImageList*>(mImages.Get());
    if (IsBackgroundThreeBrush())
    {
        Graphics::DrawThreeBrush(images, kSlicesPerState * state, mBounds.x, mBounds.y, mBounds.width, drawState,
                                 Graphics::GetCanvas());
    }
    else
    {
        Graphics::DrawImageList(images, state, mBounds.x, mBounds.y, drawState, Graphics::GetCanvas());
    }
}

void ToggleControlObject::DrawLabel(float x, float y, HAlignment hAlign, VAlignment vAlign)
{
    if (mText.empty())
        return;
    if (!mFont)
    {
        if (!mReportedNoFont)
        {
            mReportedNoFont = true;
            Internal::LogWrite("%s '%s' has text but no font; its label is not drawn.\n", GetKindName(), mName.c_str());
        }
        return;
    }
    Graphics::sDrawState label = Graphics::GetDrawState();
    label.font = mFont;
    label.color = mColor;
    label.hAlign = hAlign;
    label.vAlign = vAlign;
    Graphics::DrawText(mText.c_str(), x, y, label, Graphics::GetCanvas());
}

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
