#pragma once
// The real main window, offscreen, on the benchmark's book, as the measuring
// runs start it, and the ways they time what the user does in it.
#include "Measurement.h"

#include <QElapsedTimer>

#include <functional>

class MainWindow;
class ReadingSession;
struct OpenBook;

// Starts the window on the folder of the book at bookPath (through
// config.ini beside this program, removed again afterwards) and returns
// what `measure` makes of it once start-up has finished; empty when start-up
// did not finish. The window is destroyed without being closed: shutdown
// would write the settings.
Measurement MeasureInWindow(const QString &bookPath, const std::function<Measurement(MainWindow &)> &measure);

// The book list's row of the book; -1, told on the error output, when the
// list does not hold it.
int BookRow(ReadingSession &session, const QString &fileName);
// From the choice of the book in that row to its first chapter on screen,
// as the user waits for it; -1 when it was not shown.
double OpenAndTime(ReadingSession &session, int book);
// A chapter change as the user sees it: the change, then its repaint.
double TimeChange(const std::function<void()> &change);
double MillisecondsOf(const QElapsedTimer &timer);

// The chapter that holds the middle of the text. A table of contents makes
// the first half of the items one-line chapters, so the middle item would not do.
int MiddleChapter(const OpenBook &book);
