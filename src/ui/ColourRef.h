#pragma once
// Colours travel as 32-bit values with red in the lowest byte, then green,
// then blue (0x00BBGGRR): black is 0, white 16777215.
#include <QColor>

int ColourRefOf(const QColor &colour);
QColor ColourFromRef(int colourRef);
