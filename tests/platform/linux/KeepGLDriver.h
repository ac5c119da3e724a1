#pragma once

#include "ScopedEnvironment.h"

#include <SDL.h>

#include <dlfcn.h>
#include <link.h>

// Loads the OpenGL driver of the current X display once and keeps it, with every library loaded so
// far, until the process ends. Quitting SDL's video closes the display, and closing the display
// unloads Mesa's driver while blocks it allocated once are still held by its own globals: the leak
// checker, run at exit, would see them as leaks of an unknown module. A pinned driver stays mapped,
// so those blocks stay reachable. Returns false when there is no X display to load the driver for
// (nothing is pinned then; a later call tries again).
inline bool KeepGLDriverLoaded()
{
    static bool pinned = false;
    if (pinned)
        return true;
    ScopedEnvironment driver("SDL_VIDEODRIVER", "x11");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return false;
    // On X11 loading the library makes a first context, which loads the driver.
    const bool loaded = SDL_GL_LoadLibrary(nullptr) == 0;
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*)
        {
            if (info->dlpi_name != nullptr && info->dlpi_name[0] != '\0')
            {
                // RTLD_NOLOAD only marks a library that is already loaded; the flag outlives the handle.
                if (void* handle = dlopen(info->dlpi_name, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE))
                    dlclose(handle);
            }
            return 0;
        },
        nullptr);
    if (loaded)
        SDL_GL_UnloadLibrary();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    pinned = loaded;
    return loaded;
}
