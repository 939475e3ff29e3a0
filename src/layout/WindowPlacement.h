#pragma once
// Where the window reopens: the place and size it was left at, kept where the
// user can reach it on the screens there are now.
#include "platform/WindowSystem.h"

#include <optional>

// The rectangle to open the window at. Nothing remembered: `designed`. A
// remembered rectangle that shows too little of itself on every screen (a
// monitor unplugged since) is moved onto the primary screen; one larger than
// the screen it lies on shrinks to fit it and moves fully onto it. Any other
// is kept as it was. Without screens to ask, the remembered one is kept.
WindowRect ReopenedWindowRect(const WindowSystem &windows, const std::optional<WindowRect> &remembered,
                              const WindowRect &designed);
