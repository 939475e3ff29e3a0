#pragma once
// The window system over Qt widgets named by their WindowHandle. A widget's
// client area is the whole widget: its children's geometry is relative to its
// top-left corner. A top-level window's window rectangle includes its frame.
#include "platform/WindowSystem.h"

class QtWindowSystem : public WindowSystem {
public:
    WindowHandle GetParent(WindowHandle window) const override;
    WindowRect GetClientRect(WindowHandle window) const override;
    WindowRect GetWindowRect(WindowHandle window) const override;
    WindowPoint ScreenToClient(WindowHandle window, WindowPoint screenPoint) const override;
    // A widget cannot be smaller than empty: negative sizes are applied as 0.
    void MoveWindow(WindowHandle window, int x, int y, int width, int height, bool repaint) override;
    std::vector<WindowRect> GetScreenRects() const override;
};
