// A stand-in for the desktop's dialog helper (zenity), which SDL runs to show a message box where it can:
// a window titled as asked that waits, as a box nobody answers does, until the process is ended or its
// display goes. Tests of a box on screen then need no desktop and no X fonts.

#include <X11/Xlib.h>

#include <cstring>

int main(int argc, char** argv)
{
    const char* title = "";
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--title") == 0 && i + 1 < argc)
            title = argv[++i];
        else if (std::strncmp(argv[i], "--title=", 8) == 0)
            title = argv[i] + 8;
    Display* display = XOpenDisplay(nullptr);
    // As zenity that cannot start: SDL reads a status of 128 or more as a box not shown.
    if (display == nullptr)
        return 129;
    const ::Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 320, 120, 0, 0, 0);
    XStoreName(display, window, title);
    XMapWindow(display, window);
    // Xlib ends the process when the display goes.
    for (;;)
    {
        XEvent event;
        XNextEvent(display, &event);
    }
}
