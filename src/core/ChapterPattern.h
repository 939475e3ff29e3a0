#pragma once
// The fixed expression that recognises Chinese chapter headings.
#include <QRegularExpression>

// Compiled once per process. Matches start at "第" or at a run of the
// numerals 一二三四五六七八九十零 that is followed by "、"; every match runs to
// the end of its line.
const QRegularExpression &ChapterPattern();
