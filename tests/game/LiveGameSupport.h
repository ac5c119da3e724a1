#pragma once

// What the tests and benchmarks that drive the real game in its SDL window share: pointer events as the
// window delivers them, a point of the logical frame placed in the window, and the top mode's nodes.

#include "core/Label.h"
#include "core/Vector2.h"
#include "framework/MainLoop.h"
#include "platform/linux/FrameViewport.h"
#include "scene/SceneApplicationMode.h"
#include "scene/SceneNode.h"

#include <SDL.h>

namespace LiveGame
{

// The pointer's move to (x, y) in the game's window, with the left button held or not.
inline SDL_Event MouseMotion(int x, int y, bool held = false)
{
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = SDL_GetWindowID(Linux::GetMainWindow());
    event.motion.x = x;
    event.motion.y = y;
    event.motion.state = held ? SDL_BUTTON_LMASK : 0;
    return event;
}

// The left button pressed (SDL_MOUSEBUTTONDOWN) or let go (SDL_MOUSEBUTTONUP) at (x, y).
inline SDL_Event MouseButton(Uint32 type, int x, int y)
{
    SDL_Event event{};
    event.type = type;
    event.button.windowID = SDL_GetWindowID(Linux::GetMainWindow());
    event.button.button = SDL_BUTTON_LEFT;
    event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = 1;
    event.button.x = x;
    event.button.y = y;
    return event;
}

// The pointer moves to (x, y) in the window and, with `press`, clicks there: pushed on SDL's queue.
inline void PushPointer(int x, int y, bool press)
{
    SDL_Event event = MouseMotion(x, y);
    SDL_PushEvent(&event);
    if (!press)
        return;
    for (Uint32 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP})
    {
        event = MouseButton(type, x, y);
        SDL_PushEvent(&event);
    }
}

// The key pressed and let go, as the window delivers it: pushed on SDL's queue.
inline void PressKey(SDL_Keycode key)
{
    for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP})
    {
        SDL_Event event{};
        event.type = type;
        event.key.windowID = SDL_GetWindowID(Linux::GetMainWindow());
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.sym = key;
        event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
        SDL_PushEvent(&event);
    }
}

// Where a point of the logical frame lies in the window, as the platform maps the frame into it.
inline Strata::Vector2<int> WindowPoint(int frameX, int frameY)
{
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(Linux::GetMainWindow(), &width, &height);
    const Linux::sFrameViewport viewport = Linux::ComputeFrameViewport(width, height);
    return {viewport.x + frameX * viewport.width / Linux::kFrameWidth,
            viewport.y + frameY * viewport.height / Linux::kFrameHeight};
}

// The first node of that name below `node`, breadth first at each level; null when there is none.
inline Strata::SceneNode* FindNode(Strata::SceneNode* node, Strata::Label name)
{
    if (node == nullptr)
        return nullptr;
    if (Strata::SceneNode* child = node->GetChildByNodeName(name))
        return child;
    for (Strata::SceneNode* child : node->GetChildren())
        if (Strata::SceneNode* found = FindNode(child, name))
            return found;
    return nullptr;
}

// The main loop's top mode as a `Mode`; null when it is another.
template <class Mode>
Mode* Top()
{
    return dynamic_cast<Mode*>(Strata::MainLoop::GetTopMostMode(0));
}

// The named node of the top mode's scene, when the top mode has a scene.
template <class T = Strata::SceneNode>
T* TopNode(const char* name)
{
    auto* mode = dynamic_cast<Strata::SceneApplicationMode*>(Strata::MainLoop::GetTopMostMode(0));
    return mode != nullptr ? dynamic_cast<T*>(FindNode(mode->GetRootNode(), Strata::Label(name))) : nullptr;
}

} // namespace LiveGame
