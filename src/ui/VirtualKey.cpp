#include "ui/VirtualKey.h"

#include "platform/HotKeyService.h"

#include <QKeyEvent>

namespace {

struct KeyCode {
    int qtKey;
    int virtualKey;
};

// The keys whose code is not their Qt key's number.
constexpr KeyCode kNamedKeys[] = {
    {Qt::Key_Backspace, VK_BACK},    {Qt::Key_Tab, VK_TAB},
    {Qt::Key_Backtab, VK_TAB},       {Qt::Key_Return, VK_RETURN},
    {Qt::Key_Enter, VK_RETURN},      {Qt::Key_Pause, VK_PAUSE},
    {Qt::Key_Escape, VK_ESCAPE},     {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR},      {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_End, VK_END},           {Qt::Key_Home, VK_HOME},
    {Qt::Key_Left, VK_LEFT},         {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},       {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Print, VK_SNAPSHOT},    {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE},     {Qt::Key_ScrollLock, VK_SCROLL},
    {Qt::Key_Semicolon, VK_OEM_1},   {Qt::Key_Equal, VK_OEM_PLUS},
    {Qt::Key_Comma, VK_OEM_COMMA},   {Qt::Key_Minus, VK_OEM_MINUS},
    {Qt::Key_Period, VK_OEM_PERIOD}, {Qt::Key_Slash, VK_OEM_2},
    {Qt::Key_QuoteLeft, VK_OEM_3},   {Qt::Key_BracketLeft, VK_OEM_4},
    {Qt::Key_Backslash, VK_OEM_5},   {Qt::Key_BracketRight, VK_OEM_6},
    {Qt::Key_Apostrophe, VK_OEM_7},
};

// The characters a US keyboard types with Shift, by the key that types them.
constexpr KeyCode kShiftedKeys[] = {
    {Qt::Key_AsciiTilde, VK_OEM_3},
    {Qt::Key_Exclam, '1'},
    {Qt::Key_At, '2'},
    {Qt::Key_NumberSign, '3'},
    {Qt::Key_Dollar, '4'},
    {Qt::Key_Percent, '5'},
    {Qt::Key_AsciiCircum, '6'},
    {Qt::Key_Ampersand, '7'},
    {Qt::Key_Asterisk, '8'},
    {Qt::Key_ParenLeft, '9'},
    {Qt::Key_ParenRight, '0'},
    {Qt::Key_Underscore, VK_OEM_MINUS},
    {Qt::Key_Plus, VK_OEM_PLUS},
    {Qt::Key_BraceLeft, VK_OEM_4},
    {Qt::Key_BraceRight, VK_OEM_6},
    {Qt::Key_Bar, VK_OEM_5},
    {Qt::Key_Colon, VK_OEM_1},
    {Qt::Key_QuoteDbl, VK_OEM_7},
    {Qt::Key_Less, VK_OEM_COMMA},
    {Qt::Key_Greater, VK_OEM_PERIOD},
    {Qt::Key_Question, VK_OEM_2},
};

// The keypad's operators; its digits follow VK_NUMPAD0.
constexpr KeyCode kKeypadKeys[] = {{Qt::Key_Asterisk, VK_MULTIPLY},
                                   {Qt::Key_Plus, VK_ADD},
                                   {Qt::Key_Minus, VK_SUBTRACT},
                                   {Qt::Key_Period, VK_DECIMAL},
                                   {Qt::Key_Slash, VK_DIVIDE}};

template <std::size_t N>
int CodeIn(const KeyCode (&table)[N], int qtKey)
{
    for (const KeyCode &entry : table) {
        if (entry.qtKey == qtKey)
            return entry.virtualKey;
    }
    return 0;
}

// Letters and digits keep their number; the function keys run on from F1.
int CodeOfKey(int qtKey)
{
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return VK_F1 + (qtKey - Qt::Key_F1);
    return CodeIn(kNamedKeys, qtKey);
}

int KeypadCodeOf(int qtKey)
{
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return VK_NUMPAD0 + (qtKey - Qt::Key_0);
    return CodeIn(kKeypadKeys, qtKey);
}

int HotKeyModifiersOf(Qt::KeyboardModifiers modifiers)
{
    int bits = 0;
    bits |= modifiers.testFlag(Qt::ControlModifier) ? HotKeyControl : 0;
    bits |= modifiers.testFlag(Qt::AltModifier) ? HotKeyAlt : 0;
    bits |= modifiers.testFlag(Qt::ShiftModifier) ? HotKeyShift : 0;
    bits |= modifiers.testFlag(Qt::MetaModifier) ? HotKeyWin : 0;
    return bits;
}

} // namespace

int VirtualKeyOf(const QKeyEvent *event)
{
    return CodeOfKey(event->key());
}

std::optional<HotKeyCombination> HotKeyCombinationOf(QKeyCombination combination)
{
    const int qtKey = combination.key();
    HotKeyCombination result{0, HotKeyModifiersOf(combination.keyboardModifiers())};
    if (combination.keyboardModifiers().testFlag(Qt::KeypadModifier)) {
        result.virtualKey = KeypadCodeOf(qtKey);
    } else if (const int shifted = CodeIn(kShiftedKeys, qtKey)) {
        result.virtualKey = shifted;
        result.modifiers |= HotKeyShift;
    } else {
        result.virtualKey = CodeOfKey(qtKey);
    }
    return result.virtualKey ? std::optional(result) : std::nullopt;
}
