#pragma once
// 高亮 and 笔记 in the window: the pane marks the chapter's highlights in
// their colours; its context menu offers 高亮 in four colours and 添加笔记…
// on a selection that holds more than blanks, and 修改笔记…, 改颜色 and 删除
// on a highlight clicked; 阅读 → 高亮 (Ctrl+H) highlights the selection in
// yellow. 阅读 → 笔记… (Ctrl+Shift+N) lists the book's highlights: Enter shows
// one in the pane, Delete removes it, 导出 Markdown… writes them to a file.
#include "core/Highlight.h"

#include <QColor>

class QMenu;
class ReadingSession;
struct ReaderControls;

// Binds the pane (after BindPane) and the notes window to the session's
// highlights.
void BindHighlights(const ReaderControls &controls, ReadingSession &session);
// 阅读's items 高亮 and 笔记….
void AddHighlightItems(QMenu *reading, ReadingSession &session, const ReaderControls &controls);
// What a highlight is drawn in behind the text: its colour, half seen
// through, so that the text stays readable on a dark page too.
QColor HighlightBackground(HighlightColour colour);
