#include "layout/RelayoutAll.h"

#include "layout/AxisLayout.h"
#include "layout/ControlRect.h"
#include "platform/WindowSystem.h"

#include <cstddef>

void RelayoutAll(const LayoutTable &table, WindowSystem &windows)
{
    const std::size_t count = table.size();
    for (std::size_t i = 0; i < count; ++i) {
        const LayoutEntry &entry = table[i];
        const WindowRect client = windows.GetClientRect(entry.parent);
        const auto reference = [&](const EdgeAnchor &anchor) {
            return MeasureTarget(windows, anchor.target, entry.parent);
        };
        const AxisPlacement horizontal =
            PlaceOnAxis(HorizontalRule(entry), client.right, HorizontalSpan(reference(entry.leftAnchor)),
                        HorizontalSpan(reference(entry.rightAnchor)));
        const AxisPlacement vertical =
            PlaceOnAxis(VerticalRule(entry), client.bottom, VerticalSpan(reference(entry.topAnchor)),
                        VerticalSpan(reference(entry.bottomAnchor)));
        windows.MoveWindow(entry.control, horizontal.position, vertical.position, horizontal.size, vertical.size, true);
    }
}
