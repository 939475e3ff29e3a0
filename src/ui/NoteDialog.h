#pragma once
// 添加笔记… and 修改笔记…: a small window with the highlighted text above a
// field for the note, which keeps any length whole. Enter starts a new line
// of the note, Ctrl+Enter or OK keeps it.
#include <QString>

#include <optional>

class QWidget;

// Asks for the note on `excerpt` under `title`, the field holding `note`;
// the note entered, or nullopt when the user cancelled.
std::optional<QString> AskNote(QWidget *parent, const QString &title, const QString &excerpt, const QString &note);
