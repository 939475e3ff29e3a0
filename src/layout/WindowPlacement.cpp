#include "layout/WindowPlacement.h"

#include <algorithm>

namespace {

// Less of the window than this on a screen, either way, and it cannot be
// grabbed and dragged back.
constexpr int kLeastShown = 40;

int Width(const WindowRect &rect)
{
    return rect.right - rect.left;
}

int Height(const WindowRect &rect)
{
    return rect.bottom - rect.top;
}

WindowRect Overlap(const WindowRect &a, const WindowRect &b)
{
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

bool ShowsEnoughOn(const WindowRect &window, const WindowRect &screen)
{
    const WindowRect shown = Overlap(window, screen);
    return Width(shown) >= std::min(kLeastShown, Width(window))
        && Height(shown) >= std::min(kLeastShown, Height(window));
}

// The window moved (and shrunk where it must be) to lie wholly on the screen.
WindowRect MovedOnto(const WindowRect &window, const WindowRect &screen)
{
    const int width = std::min(Width(window), Width(screen));
    const int height = std::min(Height(window), Height(screen));
    const int left = std::clamp(window.left, screen.left, screen.right - width);
    const int top = std::clamp(window.top, screen.top, screen.bottom - height);
    return {left, top, left + width, top + height};
}

} // namespace

WindowRect ReopenedWindowRect(const WindowSystem &windows, const std::optional<WindowRect> &remembered,
                              const WindowRect &designed)
{
    if (!remembered)
        return designed;
    const std::vector<WindowRect> screens = windows.GetScreenRects();
    if (screens.empty())
        return *remembered;
    const auto home = std::find_if(screens.begin(), screens.end(),
                                   [&](const WindowRect &screen) { return ShowsEnoughOn(*remembered, screen); });
    if (home == screens.end())
        return MovedOnto(*remembered, screens.front());
    if (Width(*remembered) > Width(*home) || Height(*remembered) > Height(*home))
        return MovedOnto(*remembered, *home);
    return *remembered;
}
