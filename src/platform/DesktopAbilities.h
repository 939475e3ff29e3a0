#pragma once
// What the desktop the reader runs on lets a window ask for.

// Whether a window that asks to stay above the others is kept there. Wayland
// compositors decide that for themselves.
bool DesktopKeepsWindowsOnTop();
// Whether a window's own pixels can be seen through (a compositing desktop):
// always on Wayland and Windows, on X11 only while a compositing manager runs.
bool DesktopShowsThroughWindows();
