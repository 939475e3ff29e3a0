#include "platform/X11KeySymbols.h"

#include "platform/VirtualKeyCodes.h"

#include <X11/keysym.h>

namespace {

struct NamedKey {
    int virtualKey;
    uint32_t keysym;
    const char *name;
};

// The keys outside the runs of letters, digits and function keys.
constexpr NamedKey kNamedKeys[] = {
    {VK_BACK, XK_BackSpace, "BackSpace"},
    {VK_TAB, XK_Tab, "Tab"},
    {VK_RETURN, XK_Return, "Return"},
    {VK_PAUSE, XK_Pause, "Pause"},
    {VK_ESCAPE, XK_Escape, "Escape"},
    {VK_SPACE, XK_space, "space"},
    {VK_PRIOR, XK_Prior, "Prior"},
    {VK_NEXT, XK_Next, "Next"},
    {VK_END, XK_End, "End"},
    {VK_HOME, XK_Home, "Home"},
    {VK_LEFT, XK_Left, "Left"},
    {VK_UP, XK_Up, "Up"},
    {VK_RIGHT, XK_Right, "Right"},
    {VK_DOWN, XK_Down, "Down"},
    {VK_SNAPSHOT, XK_Print, "Print"},
    {VK_INSERT, XK_Insert, "Insert"},
    {VK_DELETE, XK_Delete, "Delete"},
    {VK_MULTIPLY, XK_KP_Multiply, "KP_Multiply"},
    {VK_ADD, XK_KP_Add, "KP_Add"},
    {VK_SUBTRACT, XK_KP_Subtract, "KP_Subtract"},
    {VK_DECIMAL, XK_KP_Decimal, "KP_Decimal"},
    {VK_DIVIDE, XK_KP_Divide, "KP_Divide"},
    {VK_SCROLL, XK_Scroll_Lock, "Scroll_Lock"},
    {VK_OEM_1, XK_semicolon, "semicolon"},
    {VK_OEM_PLUS, XK_equal, "equal"},
    {VK_OEM_COMMA, XK_comma, "comma"},
    {VK_OEM_MINUS, XK_minus, "minus"},
    {VK_OEM_PERIOD, XK_period, "period"},
    {VK_OEM_2, XK_slash, "slash"},
    {VK_OEM_3, XK_grave, "grave"},
    {VK_OEM_4, XK_bracketleft, "bracketleft"},
    {VK_OEM_5, XK_backslash, "backslash"},
    {VK_OEM_6, XK_bracketright, "bracketright"},
    {VK_OEM_7, XK_apostrophe, "apostrophe"},
};

constexpr int kFunctionKeys = 24;

} // namespace

KeySymbol KeySymbolOf(int virtualKey)
{
    if (virtualKey >= 'A' && virtualKey <= 'Z')
        return {static_cast<uint32_t>(XK_a + virtualKey - 'A'), QString(QChar(virtualKey).toLower())};
    if (virtualKey >= '0' && virtualKey <= '9')
        return {static_cast<uint32_t>(XK_0 + virtualKey - '0'), QString(QChar(virtualKey))};
    const int keypadDigit = virtualKey - VK_NUMPAD0;
    if (keypadDigit >= 0 && keypadDigit <= 9)
        return {static_cast<uint32_t>(XK_KP_0 + keypadDigit), QStringLiteral("KP_%1").arg(keypadDigit)};
    const int functionKey = virtualKey - VK_F1;
    if (functionKey >= 0 && functionKey < kFunctionKeys)
        return {static_cast<uint32_t>(XK_F1 + functionKey), QStringLiteral("F%1").arg(functionKey + 1)};
    for (const NamedKey &key : kNamedKeys) {
        if (key.virtualKey == virtualKey)
            return {key.keysym, QString::fromLatin1(key.name)};
    }
    return {};
}
