#pragma once
// How far into a book the reader is: the share of the book's text before the
// pane's first visible line, in hundredths of a percent. The strip below the
// pane shows it for the open book, and the book's record keeps it, so that
// lists of books can tell it without opening them.
#include <QString>

inline constexpr int kProgressNotKnown = -1;
inline constexpr int kProgressWhole = 10000;
// Beyond this a book counts as read through: its last page is near enough.
inline constexpr int kProgressReadThrough = 9800;

// `position` characters into a text of `length`, kept within 0 and
// kProgressWhole; 0 for an empty text. Cut to the hundredth below, so that
// PercentText rounds to the tenth the exact share rounds to.
int ProgressAt(qsizetype position, qsizetype length);
// Whether a value, as a hand-edited store may hold it, is a progress.
bool IsProgress(qint64 progress);
// The progress in percent with one decimal, half a tenth up ("37.5").
QString PercentText(int progress);
// The progress as a list of books tells it: "37.5 %", "读完" beyond
// kProgressReadThrough, "—" when it is not known (or no progress at all).
QString ProgressLabel(int progress);
