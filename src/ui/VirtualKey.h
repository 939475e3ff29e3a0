#pragma once
// The handlers speak in the classic virtual-key codes; Qt's key events are
// translated once, here.
class QKeyEvent;

constexpr int VK_LEFT = 0x25;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DELETE = 0x2E;

// The virtual-key code of a key event, 0 for keys the reader never asks about.
int VirtualKeyOf(const QKeyEvent *event);
