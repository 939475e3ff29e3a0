#pragma once
// A chapter step onto a chapter the reader has marked heavily.
#include "Measurement.h"

// In a window of its own: right-arrow steps onto the chapter that holds the
// middle of the book, each from the chapter before it, while that chapter
// carries BenchHighlights (put in the book store before the window opens),
// then the same steps once they are removed; the median of `steps` steps
// each. Empty when the book did not open or the chapter did not show every
// highlight.
Measurement MeasureHighlightedSteps(const QString &bookPath, int steps);
