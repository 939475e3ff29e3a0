#include "layout/ControlRect.h"

#include "platform/WindowSystem.h"

ControlRect GetControlRect(const WindowSystem &windows, WindowHandle control, WindowHandle parent)
{
    const WindowRect screen = windows.GetWindowRect(control);
    const WindowPoint corner = windows.ScreenToClient(parent, {screen.left, screen.top});
    ControlRect rect;
    rect.left = corner.x;
    rect.top = corner.y;
    rect.width = screen.right - screen.left;
    rect.height = screen.bottom - screen.top;
    rect.right = rect.left + rect.width;
    rect.bottom = rect.top + rect.height;
    return rect;
}

ControlRect MeasureTarget(const WindowSystem &windows, int target, WindowHandle parent)
{
    return target > 0 ? GetControlRect(windows, target, parent) : ControlRect{};
}
