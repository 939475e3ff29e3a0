#pragma once
// The arithmetic of the layout engine, one axis at a time and free of any
// window: registration turns measured edges into gaps, placement turns gaps
// and the current sizes back into a position and a size. The horizontal axis
// reads near/far as left/right, the vertical one as top/bottom.
#include "layout/ControlRect.h"
#include "layout/LayoutTable.h"

// One axis of a rectangle: from its left (top) edge to its right (bottom) edge.
struct Span {
    int start = 0;
    int end = 0;
};

Span HorizontalSpan(const ControlRect &rect);
Span VerticalSpan(const ControlRect &rect);

// How a reference control whose edge lies exactly on the far side counts.
enum class TouchingReference { LiesBeyond, Overlaps };

// One axis of a registered entry.
struct AxisRule {
    EdgeAnchor nearAnchor;
    int nearGap = 0;
    EdgeAnchor farAnchor;
    int farGap = 0;
    int size = 0; // registered size
    int registeredClientSize = 0;
    bool centred = false;
};

AxisRule HorizontalRule(const LayoutEntry &entry);
AxisRule VerticalRule(const LayoutEntry &entry);

// Registers one axis of a control spanning `control` in a client area
// `clientSize` long. A target > 0 is a reference control measured as
// nearReference / farReference (ignored otherwise); any other target is a code
// and measures its side from the client area (the near gap is then the
// control's own start, the far gap its distance to the client's far edge).
// The returned rule's size, registered client size and centring are left to
// the caller.
AxisRule RegisterAxis(Span control, int clientSize, int nearTarget, Span nearReference, int farTarget,
                      Span farReference, TouchingReference farTouching);

struct AxisPlacement {
    int position = 0;
    int size = 0;

    friend bool operator==(const AxisPlacement &, const AxisPlacement &) = default;
};

// Where the control goes on this axis in a client area now `clientSize` long,
// with its reference controls (if any) standing at nearReference / farReference.
// Sizes may come out zero or negative; they are returned as computed. An axis
// whose targets give it no rule stays at its registered position and size.
AxisPlacement PlaceOnAxis(const AxisRule &rule, int clientSize, Span nearReference, Span farReference);
