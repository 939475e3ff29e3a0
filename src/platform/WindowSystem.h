#pragma once
// The few window-system queries and moves a layout engine needs, with the
// meanings of the desktop window system they stand in for: a window rectangle
// is a window's outer rectangle in screen coordinates, a client rectangle
// always starts at (0, 0) and ScreenToClient maps a screen point into a
// window's client coordinates. Rectangles run from left/top to right/bottom
// exclusive, so right - left is the width.
//
// A handle the window system does not know gives 0 (GetParent), an all-zero
// rectangle (GetClientRect, GetWindowRect) or the point unchanged
// (ScreenToClient); moving it does nothing.
#include "platform/WindowHandle.h"

#include <vector>

struct WindowRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    friend bool operator==(const WindowRect &, const WindowRect &) = default;
};

struct WindowPoint {
    int x = 0;
    int y = 0;

    friend bool operator==(const WindowPoint &, const WindowPoint &) = default;
};

class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // The window that holds this one; 0 for a top-level window.
    virtual WindowHandle GetParent(WindowHandle window) const = 0;
    virtual WindowRect GetClientRect(WindowHandle window) const = 0;
    virtual WindowRect GetWindowRect(WindowHandle window) const = 0;
    virtual WindowPoint ScreenToClient(WindowHandle window, WindowPoint screenPoint) const = 0;
    // Places the window's outer rectangle at (x, y) in its parent's client
    // coordinates (in screen coordinates for a top-level window).
    virtual void MoveWindow(WindowHandle window, int x, int y, int width, int height, bool repaint) = 0;
    // The part of each screen windows may take (without the desktop's panels),
    // in screen coordinates, the primary screen first; empty when there is no
    // screen to ask.
    virtual std::vector<WindowRect> GetScreenRects() const = 0;
};
