#pragma once
// One book opened by the real main window, offscreen, the way a user's
// selection opens it, and then read through.
#include "Measurement.h"

// Starts the window on the book's folder (through config.ini beside this
// program, removed again afterwards), then times opening the book up to
// chapter 0 shown, the first jump to the last chapter, the median of later
// jumps there from the middle of the book, the median of arrowSteps
// right-arrow steps from the middle, a save of config.ini, and the longest
// stall in scrollSeconds of 自动滚动 (none for 0). Empty when the book did
// not open into chapters.
Measurement MeasureReader(const QString &bookPath, int arrowSteps, int scrollSeconds);
