#pragma once
// The floor any reader pays for a book: reading the file in pieces and
// decoding it into one string, with nothing else around it.
#include "Measurement.h"

// Idle and peak resident memory of this process around it, and its time.
// Empty when the file cannot be read.
Measurement MeasureFloor(const QString &bookPath);
