#pragma once
// The chapter rules on the open book's text.
#include "Measurement.h"

// Medians of a few runs: indexing the text by the designed pattern and by the
// strict rule (and how many headings the strict rule found), checking an
// ordinary expression of the reader's own for the preview, and checking a
// catastrophic one, which the engine has to give up on.
Measurement MeasureChapterRules(const QString &text);
