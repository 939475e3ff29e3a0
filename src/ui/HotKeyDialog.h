#pragma once
// 热键: a small dialog that asks for the key that hides the reader and shows
// it again: one key, alone or with Ctrl, Alt, Shift and Super, or none (无).
// Each key pressed in its field replaces the one before; Enter alone confirms
// and Esc alone cancels. A key that has no virtual-key code cannot be
// confirmed, and the dialog says so.
#include <QKeySequence>

#include <optional>

class QWidget;

// Asks over `parent`, starting from `current` (empty: none). The key chosen,
// empty for none, or nullopt when the user gave up (Esc, 取消, the window
// closed meanwhile).
std::optional<QKeySequence> AskHotKey(QWidget *parent, const QKeySequence &current);
