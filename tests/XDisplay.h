#pragma once

// Include after the JUCE headers: Xlib defines macros (None, Bool, Status) that clash with them.
#include <X11/Xlib.h>

namespace test
{
    // A connection of the test's own to the X display, for tests that open real windows.
    class XDisplay
    {
    public:
        XDisplay() : display (XOpenDisplay (nullptr))
        {
            // With no window manager some window properties are missing, and the first
            // unhandled X error would end the whole test run.
            if (display != nullptr)
                XSetErrorHandler ([] (Display*, XErrorEvent*) { return 0; });
        }

        ~XDisplay()
        {
            if (display != nullptr)
                XCloseDisplay (display);
        }

        XDisplay (const XDisplay&) = delete;
        XDisplay& operator= (const XDisplay&) = delete;

        Display* get() const noexcept { return display; }
        bool isOpen() const noexcept  { return display != nullptr; }

    private:
        Display* display;
    };
}
