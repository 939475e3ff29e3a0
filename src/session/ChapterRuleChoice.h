#pragma once
// 阅读 > 章节规则: the rule that cuts the open book into chapters, chosen per
// book and kept in its record.
#include "core/ChapterRules.h"

class ReadingSession;
class QWidget;

// "默认" and "严格（仅独立标题行）", and a confirmed "自定义…": cuts the open
// book by the rule and remembers the rule for it. The reader stays where they
// are: the new chapter that holds the start of the one shown is shown, with
// the line that was on top still on top when it lies in that chapter. Does
// nothing without a book on screen.
void OnChooseChapterRule(ReadingSession &session, const ChapterRule &rule);
// "自定义…": the dialog, over `window`, for an expression of the reader's own,
// opened with the book's own expression if it has one, previewing on the
// open book.
void OnEditCustomChapterRule(ReadingSession &session, QWidget *window);
