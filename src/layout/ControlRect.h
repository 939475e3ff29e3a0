#pragma once
// A control's outer rectangle as seen from a parent window's client area.
#include "platform/WindowHandle.h"

class WindowSystem;

struct ControlRect {
    int left = 0;
    int top = 0;
    int right = 0;  // left + width
    int bottom = 0; // top + height
    int width = 0;  // outer width, border included
    int height = 0; // outer height, border included

    friend bool operator==(const ControlRect &, const ControlRect &) = default;
};

// Measures control in parent's client coordinates. Only the top-left corner is
// converted from the screen; the far edges follow from the outer size.
ControlRect GetControlRect(const WindowSystem &windows, WindowHandle control, WindowHandle parent);

// Measures the reference control a side's target names; a target of 0 or less
// is an anchor code, names no control and measures as all zero.
ControlRect MeasureTarget(const WindowSystem &windows, int target, WindowHandle parent);
