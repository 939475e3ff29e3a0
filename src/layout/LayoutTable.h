#pragma once
// What registration records about each anchored control, and the ordered
// table of those records that re-layout replays.
#include "platform/WindowSystem.h"

#include <vector>

// Anchor targets: a positive value is the handle of a reference control; these
// codes name the other rules a side can follow.
inline constexpr int ANCHOR_PARENT = -1;     // keep the distance to the client edge
inline constexpr int ANCHOR_KEEP_SIZE = -2;  // side is free, size stays as registered
inline constexpr int ANCHOR_SCALE_SIZE = -3; // side is free, size scales with the client

// Centre flags, combinable.
inline constexpr int CENTER_H = 1;
inline constexpr int CENTER_V = 2;

struct EdgeAnchor {
    int target = 0; // reference control handle (> 0) or an anchor code
    // Reference controls only: 1 = measured from the reference's edge of the
    // same name, 0 = from its facing edge.
    int sameEdge = 0;

    friend bool operator==(const EdgeAnchor &, const EdgeAnchor &) = default;
};

// A client rectangle: left and top are 0, right and bottom the client size.
using ClientRect = WindowRect;

struct LayoutEntry {
    WindowHandle control = 0;
    // Distance from the left anchor's reference edge, or the control's left
    // when the left anchor is a code.
    int leftGap = 0;
    int topGap = 0;
    int width = 0; // outer size at registration
    int height = 0;
    // Distance from the control's right edge to the right anchor's reference
    // edge, or to the client area's right edge when the anchor is a code.
    int rightGap = 0;
    int bottomGap = 0;
    EdgeAnchor leftAnchor;
    EdgeAnchor topAnchor;
    EdgeAnchor rightAnchor;
    EdgeAnchor bottomAnchor;
    int centerFlags = 0;
    WindowHandle parent = 0; // the control's parent at registration
    ClientRect parentClient; // the parent's client rectangle at registration

    friend bool operator==(const LayoutEntry &, const LayoutEntry &) = default;
};

// Entries in registration order; re-layout applies them in this order.
using LayoutTable = std::vector<LayoutEntry>;
