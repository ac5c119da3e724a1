#pragma once

#include "graphics/Canvas.h"
#include "graphics/DrawState.h"

namespace Strata::Graphics
{

// A canvas and the state to draw on it with. A null canvas stands for the screen.
struct Context
{
    ICanvas* canvas = nullptr;
    sDrawState state;
};

// Saved contexts per thread.
inline constexpr int kContextStackSize = 64;

// Every thread has its own current context and stack, so drawing into an image on the loader thread
// never disturbs the screen. A thread starts with the screen and the default state.
Context& GetContext();
// Saves the current context and makes a copy of `context` current. On a full stack nothing changes,
// the push is logged once per run and the matching PopContext is ignored, so the outer contexts stay
// paired with their pops.
void PushContext(const Context& context);
// Makes the last saved context current again. With nothing saved it does nothing (logged once per run).
void PopContext();
// The number of contexts saved on this thread.
int GetContextDepth();
// The current canvas, or the screen-canvas proxy when the current context's canvas is null.
ICanvas* GetCanvas();
// Callers copy it, change the copy and pass or install the copy.
const sDrawState& GetDrawState();
void SetDrawState(const sDrawState& state);
// The proxy of the graphics platform's screen canvas, looked up on every call, so the screen canvas may
// be re-created with the window. Without a platform or a screen canvas it has no abilities, empty bounds
// and the null kind, so drawing on it returns DrawResult_Unsupported and draws nothing.
ICanvas* GetScreenCanvas();

} // namespace Strata::Graphics
