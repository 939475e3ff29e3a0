#include "layout/AxisLayout.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

bool IsReference(int target)
{
    return target > 0;
}

// Codes whose rule on a side is defined; other values of 0 or less are codes
// without a rule.
bool HasRule(int target)
{
    return IsReference(target) || target == ANCHOR_PARENT || target == ANCHOR_KEEP_SIZE || target == ANCHOR_SCALE_SIZE;
}

int TruncateTowardZero(double value)
{
    return static_cast<int>(std::clamp(value, double(INT_MIN), double(INT_MAX)));
}

// The registered size scaled by the client's growth. A client that was empty at
// registration gives no ratio to scale by, so the size stays as registered.
int ScaledSize(const AxisRule &rule, int clientSize)
{
    if (rule.registeredClientSize == 0)
        return rule.size;
    const std::int64_t product = std::int64_t(rule.size) * clientSize;
    return TruncateTowardZero(double(product) / rule.registeredClientSize);
}

AxisPlacement Centred(const AxisRule &rule, int clientSize, Span nearReference, Span farReference)
{
    // Codes stand for the client edges here, whatever their value.
    const double nearEdge = IsReference(rule.nearAnchor.target) ? nearReference.end : 0;
    const double farEdge = IsReference(rule.farAnchor.target) ? farReference.start : clientSize;
    // The half is added to the edge before truncating, so the sum truncates once.
    return {TruncateTowardZero(nearEdge + ((farEdge - nearEdge) - rule.size) / 2), rule.size};
}

AxisPlacement Registered(const AxisRule &rule)
{
    // A code on the near side leaves the near gap at the control's own start;
    // on the far side, the far gap at its distance to the client's far edge.
    const int position =
        IsReference(rule.nearAnchor.target) ? rule.registeredClientSize - rule.farGap - rule.size : rule.nearGap;
    return {position, rule.size};
}

} // namespace

Span HorizontalSpan(const ControlRect &rect)
{
    return {rect.left, rect.right};
}

Span VerticalSpan(const ControlRect &rect)
{
    return {rect.top, rect.bottom};
}

AxisRule HorizontalRule(const LayoutEntry &entry)
{
    return {entry.leftAnchor,
            entry.leftGap,
            entry.rightAnchor,
            entry.rightGap,
            entry.width,
            entry.parentClient.right,
            (entry.centerFlags & CENTER_H) != 0};
}

AxisRule VerticalRule(const LayoutEntry &entry)
{
    return {entry.topAnchor,
            entry.topGap,
            entry.bottomAnchor,
            entry.bottomGap,
            entry.height,
            entry.parentClient.bottom,
            (entry.centerFlags & CENTER_V) != 0};
}

AxisRule RegisterAxis(Span control, int clientSize, int nearTarget, Span nearReference, int farTarget,
                      Span farReference, TouchingReference farTouching)
{
    AxisRule rule;
    rule.nearAnchor.target = nearTarget;
    rule.farAnchor.target = farTarget;

    rule.nearGap = control.start;
    // A reference whose far edge only touches the near side lies beyond it.
    if (IsReference(nearTarget)) {
        const bool overlaps = nearReference.end > control.start;
        rule.nearAnchor.sameEdge = overlaps ? 1 : 0;
        rule.nearGap = control.start - (overlaps ? nearReference.start : nearReference.end);
    }

    rule.farGap = clientSize - control.end;
    if (IsReference(farTarget)) {
        const bool overlaps = farTouching == TouchingReference::Overlaps ? farReference.start <= control.end
                                                                         : farReference.start < control.end;
        rule.farAnchor.sameEdge = overlaps ? 1 : 0;
        rule.farGap = (overlaps ? farReference.end : farReference.start) - control.end;
    }
    return rule;
}

AxisPlacement PlaceOnAxis(const AxisRule &rule, int clientSize, Span nearReference, Span farReference)
{
    if (rule.centred)
        return Centred(rule, clientSize, nearReference, farReference);

    const int nearTarget = rule.nearAnchor.target;
    const int farTarget = rule.farAnchor.target;
    // Where the far edge goes when the far side decides it; every code keeps
    // the distance to the client's far edge.
    const int farEdge = IsReference(farTarget)
        ? (rule.farAnchor.sameEdge ? farReference.end : farReference.start) - rule.farGap
        : clientSize - rule.farGap;

    if (nearTarget == ANCHOR_KEEP_SIZE)
        return {farEdge - rule.size, rule.size};
    if (nearTarget == ANCHOR_SCALE_SIZE) {
        const int scaled = ScaledSize(rule, clientSize);
        return {farEdge - scaled, scaled};
    }
    if (!HasRule(nearTarget) || !HasRule(farTarget))
        return Registered(rule);

    const int position = IsReference(nearTarget)
        ? (rule.nearAnchor.sameEdge ? nearReference.start : nearReference.end) + rule.nearGap
        : rule.nearGap;
    if (farTarget == ANCHOR_KEEP_SIZE)
        return {position, rule.size};
    if (farTarget == ANCHOR_SCALE_SIZE)
        return {position, ScaledSize(rule, clientSize)};
    return {position, farEdge - position};
}
