#pragma once
// The handlers and the hot-key service speak in the classic virtual-key
// codes; Qt's keys are translated once, here.
#include "platform/VirtualKeyCodes.h"

#include <Qt>

#include <optional>

class QKeyEvent;

// The virtual-key code of a key event, whatever its modifiers; 0 for keys
// without one.
int VirtualKeyOf(const QKeyEvent *event);

// A key with its modifiers, as RegisterHotKey takes them (HotKeyService.h).
struct HotKeyCombination {
    int virtualKey = 0;
    int modifiers = 0; // HotKeyModifier bits
    bool operator==(const HotKeyCombination &) const = default;
};

// The code and modifier bits of a Qt key combination. Ctrl, Alt, Shift and
// Meta (the Super key) become HotKeyControl, HotKeyAlt, HotKeyShift and
// HotKeyWin; a character a US keyboard types with Shift (~, !, ?) is its key
// with HotKeyShift; with Qt's KeypadModifier only the keypad's digits and
// operators count. nullopt for a key without a code: a modifier alone, a
// character of another layout, a media key.
std::optional<HotKeyCombination> HotKeyCombinationOf(QKeyCombination combination);
