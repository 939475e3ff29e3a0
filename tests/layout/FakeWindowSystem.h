#pragma once
// An in-memory window system: windows are rectangles in their parent's client
// coordinates (top-level ones on the screen), sizes may be negative, and every
// move is recorded.
#include "platform/WindowSystem.h"

#include <map>
#include <vector>

struct FakeGeometry {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const FakeGeometry &, const FakeGeometry &) = default;
};

struct FakeMove {
    WindowHandle window = 0;
    FakeGeometry geometry;
    bool repaint = false;
};

class FakeWindowSystem : public WindowSystem {
public:
    // parent 0 puts the window on the screen.
    void AddWindow(WindowHandle window, WindowHandle parent, FakeGeometry geometry);
    // Moves or resizes a window behind the engine's back; not recorded as a move.
    void Place(WindowHandle window, FakeGeometry geometry);
    void Resize(WindowHandle window, int width, int height);
    FakeGeometry Geometry(WindowHandle window) const;
    const std::vector<FakeMove> &Moves() const { return moves_; }
    void ForgetMoves() { moves_.clear(); }
    // Adds a screen's work area; the first one added is the primary screen.
    void AddScreen(WindowRect workArea) { screens_.push_back(workArea); }

    WindowHandle GetParent(WindowHandle window) const override;
    WindowRect GetClientRect(WindowHandle window) const override;
    WindowRect GetWindowRect(WindowHandle window) const override;
    WindowPoint ScreenToClient(WindowHandle window, WindowPoint screenPoint) const override;
    void MoveWindow(WindowHandle window, int x, int y, int width, int height, bool repaint) override;
    std::vector<WindowRect> GetScreenRects() const override { return screens_; }

private:
    struct Window {
        WindowHandle parent = 0;
        FakeGeometry geometry;
    };

    WindowPoint ScreenOrigin(WindowHandle window) const;

    std::map<WindowHandle, Window> windows_;
    std::vector<FakeMove> moves_;
    std::vector<WindowRect> screens_;
};

// A main window on the screen at (300, 200) whose client area, below a 25-pixel
// menu bar, is kClientArea, width x height. Controls go into the client area.
inline constexpr WindowHandle kMainWindow = 1;
inline constexpr WindowHandle kClientArea = 2;
void AddClientArea(FakeWindowSystem &windows, int width, int height);

// Prints a geometry in failure messages.
char *toString(const FakeGeometry &geometry);
