#include "layout/RegisterLayout.h"

#include "layout/AxisLayout.h"
#include "layout/ControlRect.h"
#include "platform/WindowSystem.h"

#include "layout/Log.h"

void RegisterLayout(LayoutTable &table, const WindowSystem &windows, WindowHandle control, int leftTarget,
                    int topTarget, int rightTarget, int bottomTarget, int centerFlags)
{
    LayoutEntry entry;
    entry.control = control;
    entry.parent = windows.GetParent(control);
    const WindowRect client = windows.GetClientRect(entry.parent);
    entry.parentClient = client;
    entry.centerFlags = centerFlags;

    const ControlRect rect = GetControlRect(windows, control, entry.parent);
    entry.width = rect.width;
    entry.height = rect.height;
    const auto reference = [&](int target) { return MeasureTarget(windows, target, entry.parent); };

    // A reference touching the right edge overlaps; one touching the bottom lies beyond.
    const AxisRule horizontal =
        RegisterAxis(HorizontalSpan(rect), entry.parentClient.right, leftTarget, HorizontalSpan(reference(leftTarget)),
                     rightTarget, HorizontalSpan(reference(rightTarget)), TouchingReference::Overlaps);
    const AxisRule vertical =
        RegisterAxis(VerticalSpan(rect), entry.parentClient.bottom, topTarget, VerticalSpan(reference(topTarget)),
                     bottomTarget, VerticalSpan(reference(bottomTarget)), TouchingReference::LiesBeyond);
    entry.leftAnchor = horizontal.nearAnchor;
    entry.leftGap = horizontal.nearGap;
    entry.rightAnchor = horizontal.farAnchor;
    entry.rightGap = horizontal.farGap;
    entry.topAnchor = vertical.nearAnchor;
    entry.topGap = vertical.nearGap;
    entry.bottomAnchor = vertical.farAnchor;
    entry.bottomGap = vertical.farGap;

    qCDebug(lcLayout) << "registered control" << control << "in parent" << entry.parent << "gaps" << entry.leftGap
                      << entry.topGap << entry.rightGap << entry.bottomGap << "size" << entry.width << entry.height;
    table.push_back(entry);
}
