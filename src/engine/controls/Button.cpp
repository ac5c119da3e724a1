#include "controls/Button.h"

#include "core/AttributeContainer.h"
#include "core/KeyCodes.h"
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
constexpr int kMinThreeSliceImages = 6;
constexpr int kFocusImages = 5;
constexpr int kThreeSliceFocusImages = 15;

Label GetButtonClickMessageName()
{
    static const Label name("ButtonClick");
    return name;
}

} // namespace

ButtonObject::ButtonObject(Label name) : PressableControlObject(name)
{
}

ButtonObject::~ButtonObject() = default;

bool ButtonObject::IsThreeSlice() const
{
    return mImages && mImages->GetNumImages() >= kMinThreeSliceImages;
}

bool ButtonObject::HasFocusImages() const
{
    if (!mImages)
        return false;
    const int count = mImages->GetNumImages();
    return count == kFocusImages || count == kThreeSliceFocusImages;
}

int ButtonObject::GetImageIndex()
{
    if (!IsEnabled())
        return ControlState_Disabled;
    if (mHot)
        return HasCapture() ? ControlState_Pressed : ControlState_Hot;
    if (HasFocus())
        return HasFocusImages() ? ControlState_Focused : ControlState_Hot;
    return ControlState_Normal;
}

void ButtonObject::SetImages(ImageListHandle images)
{
    mImages = images;
    FitBounds();
}

void ButtonObject::SetText(const std::wstring& text)
{
    TextComponent::SetText(text);
    FitBounds();
}

void ButtonObject::FitBounds()
{
    if (IsThreeSlice())
    {
        SetHeight(static_cast<float>(mImages->GetImageHeight(0)));
    }
    else if (mImages && mImages->GetNumImages() >= 1)
    {
        SetWidth(static_cast<float>(mImages->GetImageWidth(0)));
        SetHeight(static_cast<float>(mImages->GetImageHeight(0)));
    }
    else if (mFont)
    {
        SetWidth(static_cast<float>(mFont->GetStringWidth(mText.c_str())));
        SetHeight(static_cast<float>(mFont->GetGlyphHeight()));
    }
}

bool ButtonObject::AlphaContains(int x, int y)
{
    return ImageAlphaContains(mImages.Get(), IsThreeSlice(), mBounds, mAlphaSensitivity, x, y);
}

void ButtonObject::Click()
{
    if (ObjectDatabase* database = GetObjectDatabase())
        database->SendMessage(ObjectMessage(GetID(), GetButtonClickMessageName()));
}

MessageResult ButtonObject::OnKeyDown(int key)
{
    const bool clickKey = key == Key_Enter || key == Key_Space || key == Key_GamePadA;
    if ((clickKey && HasFocus()) || (mKeyCode != 0 && key == mKeyCode))
    {
        Click();
        return MessageResult_Handled;
    }
    return MessageResult_Unhandled;
}

void ButtonObject::Draw()
{
    if (!mVisible)
        return;
    const Graphics::sDrawState& state = Graphics::GetDrawState();
    ICanvas* canvas = Graphics::GetCanvas();
    const int index = GetImageIndex();
    // The drawing calls take the list as mutable; they only read it.
    IImageList* images = const_cast<IImageList*>(mImages.Get());
    if (images)
    {
        if (IsThreeSlice())
        {
            Graphics::DrawThreeBrush(images, kSlicesPerState * index, mBounds.x, mBounds.y, mBounds.width, state,
                                     canvas);
        }
        else if (mScalable)
        {
            const Rect<float> rect(mBounds.x, mBounds.y, mBounds.width * mScale.x, mBounds.height * mScale.y);
            Graphics::DrawStretchedImageList(images, index, rect, state, canvas);
        }
        else
        {
            Graphics::DrawImageList(images, index, mBounds.x, mBounds.y, state, canvas);
        }
    }
    if (!mText.empty() && mFont)
    {
        Graphics::sDrawState caption = state;
        caption.font = mFont;
        caption.textMode = mTextMode;
        caption.color = mColor;
        caption.hAlign = HAlignment_Center;
        caption.vAlign = VAlignment_Middle;
        Graphics::DrawText(mText.c_str(), std::floor(mBounds.x + mBounds.width * 0.5f + 0.5f),
                           std::floor(mBounds.y + mBounds.height * 0.5f + 0.5f), caption, canvas);
    }
}

Object* ButtonObjectFactory::CreateObject(Label name, const IAttributeContainer& attributes)
{
    auto button = std::make_unique<ButtonObject>(name);
    button->SetImages(FindImageListAttribute(attributes, L"images"));
    button->mSounds = FindSoundListAttribute(attributes, L"sounds");
    button->SetAlphaSensitivity(attributes.GetAttribute(L"alphaSensitivity", ButtonObject::kDefaultAlphaSensitivity));
    button->SetKeyCode(GetKeyCodeByName(attributes.GetAttribute(L"keyCode").c_str()));
    button->SetScalable(attributes.GetAttribute(L"scalable", false));
    return button.release();
}

} // namespace Strata
