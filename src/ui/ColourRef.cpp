#include "ui/ColourRef.h"

int ColourRefOf(const QColor &colour)
{
    return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

QColor ColourFromRef(int colourRef)
{
    return QColor(colourRef & 0xFF, (colourRef >> 8) & 0xFF, (colourRef >> 16) & 0xFF);
}
