#pragma once
// The X keysym of each classic virtual-key code a hot key can be, with its
// name, which the desktop portal's shortcut triggers name keys by as well.
#include <QString>

#include <cstdint>

struct KeySymbol {
    uint32_t keysym = 0; // NoSymbol
    QString name;        // "grave", "a", "F12", "KP_1"
};

// The key's symbol: for letters the lower-case one, for digits the main
// row's, for VK_NUMPAD0 and on the keypad's. No symbol and no name for a
// code without a key here.
KeySymbol KeySymbolOf(int virtualKey);
