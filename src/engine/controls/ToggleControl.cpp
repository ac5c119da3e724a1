#include "controls/ToggleControl.h"

#include "core/KeyCodes.h"
#include "core/Log.h"
#include "graphics/Brush.h"
#include "graphics/Context.h"
#include "graphics/Drawing.h"
#include "graphics/Font.h"
#include "graphics/ImageList.h"

#include <cmath>

namespace Strata
{

namespace
{

constexpr int kSlicesPerState = 3;
constexpr float kLabelGap = 5.0f;

} // namespace

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

} // namespace Strata
