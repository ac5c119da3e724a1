#include "controls/PressableControl.h"

namespace Strata
{

MessageResult PressableControlObject::OnMouseMove(int x, int y)
{
    const bool wasHot = mHot;
    mHot = BoundsContains(static_cast<float>(x), static_cast<float>(y));
    if (mHot && !wasHot)
        PlaySoundEvent(L"Hot");
    return MessageResult_Unhandled;
}

MessageResult PressableControlObject::OnMouseDown(MouseButton, int x, int y)
{
    mHot = BoundsContains(static_cast<float>(x), static_cast<float>(y));
    if (!mHot)
        return MessageResult_Unhandled;
    Capture();
    PlaySoundEvent(L"Down");
    return MessageResult_Handled;
}

MessageResult PressableControlObject::OnMouseUp(MouseButton, int x, int y)
{
    mHot = BoundsContains(static_cast<float>(x), static_cast<float>(y));
    if (HasCapture())
    {
        // Released before the click's broadcast, so a receiver that takes the capture keeps it.
        ReleaseCapture();
        if (mHot)
            Click();
    }
    return mHot ? MessageResult_Handled : MessageResult_Unhandled;
}

void PressableControlObject::PlaySoundEvent(const wchar_t* event)
{
    PlaySoundListEvent(mSounds, event);
}

} // namespace Strata
