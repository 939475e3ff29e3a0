#pragma once
// 跳转到章节: a small dialog that asks for a chapter number or words of a
// title. Enter looks the chapter up; when none is found the dialog says so and
// stays open for another try.
#include <QString>

#include <functional>
#include <optional>

class QWidget;

// Asks over `parent` in a book of `chapters` numbered chapters; `find` turns
// what was typed into a chapter, -1 for none, and the dialog then names the
// numbers there are (1–chapters). The chapter found, or nullopt when the
// user gave up (Esc, the window closed meanwhile).
std::optional<int> AskChapterToJump(QWidget *parent, int chapters, const std::function<int(const QString &)> &find);
