#pragma once
// What a 净化规则 changes in a book, in a line for the rules window: how many
// places it matches in the book's text (more than 9 999 are told as such)
// and the first three as they read before and after; or why it cannot be
// used. Pure: run it in Qt's thread pool, a large book takes a while.
#include "core/CleanupRule.h"

QString CleanupPreviewLine(const CleanupRule &rule, const QString &bookText);
