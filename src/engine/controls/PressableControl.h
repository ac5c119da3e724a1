#pragma once

#include "controls/ControlObject.h"

namespace Strata
{

class SoundList;

// A control clicked by a press and a release inside it: it tracks whether the pointer is over it, takes
// the capture on a press inside, and on the release gives the capture up first (so a receiver of the
// click that takes the capture keeps it), then clicks when the release is inside too.
class PressableControlObject : public ControlObject
{
public:
    using ControlObject::ControlObject;

    // Tracks whether the pointer is over the control; never handled, so other objects see the move too.
    MessageResult OnMouseMove(int x, int y) override;
    // Takes the capture when the press hits the control; handled then.
    MessageResult OnMouseDown(MouseButton button, int x, int y) override;
    // Ends a press. Handled when the point is inside.
    MessageResult OnMouseUp(MouseButton button, int x, int y) override;

    virtual void Click() = 0;
    bool IsHot() const { return mHot; }

    // The sounds of the control's events ("Hot", "Down", ...); not owned. Null plays nothing.
    const SoundList* mSounds = nullptr;

protected:
    // Plays the event's sound of mSounds, when there is one.
    void PlaySoundEvent(const wchar_t* event);

    bool mHot = false;
};

} // namespace Strata
