#pragma once

// Apart from the tests that use them, since Xlib names a type Window as the tests' own window is named.

#include "ScreenTestSupport.h"

// The window's pixels as the X server shows them, read back from the server (not from SDL's copy).
ScreenTest::Frame ReadFromServer(SDL_Window* window);

// Waits until the server has done all asked of it, so that the events it sent meanwhile (a new size,
// exposed parts) are waiting for SDL to read.
void SyncWithServer(SDL_Window* window);

// Scribbles over what the server shows in the window, as a window laid over it would leave it.
void SpoilOnServer(SDL_Window* window);
