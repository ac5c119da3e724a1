#pragma once

// What the widget nodes share: their states, their sounds and their messages.

#include "core/Label.h"
#include "core/Vector2.h"
#include "graphics/DrawState.h"

namespace Strata
{

class IImageList;
class SceneNode;
class SoundList;

// Frames of a widget's image list, one per state; larger lists are three-slice strips, three images
// per state.
enum eWidgetState
{
    WidgetState_Normal = 0,
    WidgetState_Hot = 1,
    WidgetState_Pressed = 2,
    WidgetState_Disabled = 3,
    WidgetState_Focused = 4
};

inline constexpr int kWidgetSlicesPerState = 3;
inline constexpr int kWidgetDefaultAlphaSensitivity = 25;

// The state a widget shows: disabled; pressed while it holds the capture and is hot; hot; focused (the
// hot frame when the list has no focus frames); else normal.
int WidgetStateIndex(bool enabled, bool captured, bool hot, bool focused, bool hasFocusFrames);

// The "soundlist" resource of that name through the audio layer's hooks; null for a null name, without
// the hooks or when there is none (reported once).
const SoundList* FindWidgetSoundList(const char* nodeType, Label name);
// Plays the event's sound; nothing for a null list.
void PlayWidgetSound(const SoundList* sounds, Label event);
// Sends {message, the node's identifier} through the node's database, or else the current one;
// nothing without either.
void SendWidgetMessage(SceneNode& sender, Label message);

// The alpha of the list's normal frame (or strip from image `base` stretched to `width`) under a
// global point, with the node's global bounds origin as the frame's corner.
int WidgetFrameAlpha(const IImageList& images, int base, bool threeSlice, float width, const Vector2<float>& point,
                     const Vector2<float>& origin);

// A copy of the current draw state for a widget's frames: image alpha from the node's global alpha,
// the node's clip rectangle when it has one.
Graphics::sDrawState WidgetDrawState(SceneNode& node);

} // namespace Strata
