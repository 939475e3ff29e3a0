#pragma once
// Moves every registered control to the place its entry gives for its
// parent's current client size, in registration order. Each entry measures
// its parent and its reference controls when its turn comes, so a reference
// moved earlier in the same pass is seen at its new place. Nothing carries
// over from one pass to the next.
#include "layout/LayoutTable.h"

class WindowSystem;

void RelayoutAll(const LayoutTable &table, WindowSystem &windows);
