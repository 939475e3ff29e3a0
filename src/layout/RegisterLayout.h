#pragma once
// Records how a control keeps its place when its parent's client area changes
// size: each side follows a reference control (its handle, > 0) or an anchor
// code. The entry is appended to the table; registering a control again
// appends another entry, applied after the first.
#include "layout/LayoutTable.h"

class WindowSystem;

void RegisterLayout(LayoutTable &table, const WindowSystem &windows, WindowHandle control, int leftTarget,
                    int topTarget, int rightTarget, int bottomTarget, int centerFlags = 0);
