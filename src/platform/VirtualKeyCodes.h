#pragma once
// The classic virtual-key codes, in which the handlers and the hot-key
// service name keys. Letters and digits are their own ASCII codes ('A', '7').

constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_PAUSE = 0x13;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_PRIOR = 0x21; // Page Up
constexpr int VK_NEXT = 0x22;  // Page Down
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_SNAPSHOT = 0x2C; // Print
constexpr int VK_INSERT = 0x2D;
constexpr int VK_DELETE = 0x2E;
constexpr int VK_NUMPAD0 = 0x60; // the keypad's digits run on to VK_NUMPAD0 + 9
constexpr int VK_MULTIPLY = 0x6A;
constexpr int VK_ADD = 0x6B;
constexpr int VK_SUBTRACT = 0x6D;
constexpr int VK_DECIMAL = 0x6E;
constexpr int VK_DIVIDE = 0x6F;
constexpr int VK_F1 = 0x70; // F1 to F24 are VK_F1 to VK_F1 + 23
constexpr int VK_SCROLL = 0x91;
// The punctuation keys, named by the characters of a US keyboard.
constexpr int VK_OEM_1 = 0xBA;      // ; :
constexpr int VK_OEM_PLUS = 0xBB;   // = +
constexpr int VK_OEM_COMMA = 0xBC;  // , <
constexpr int VK_OEM_MINUS = 0xBD;  // - _
constexpr int VK_OEM_PERIOD = 0xBE; // . >
constexpr int VK_OEM_2 = 0xBF;      // / ?
constexpr int VK_OEM_3 = 0xC0;      // ` ~, the key left of 1
constexpr int VK_OEM_4 = 0xDB;      // [ {
constexpr int VK_OEM_5 = 0xDC;      // \ |
constexpr int VK_OEM_6 = 0xDD;      // ] }
constexpr int VK_OEM_7 = 0xDE;      // ' "
