#pragma once
// The reading font a new pane and a new font chooser start with. The
// Simplified Chinese face is named explicitly: in a C locale the font engine
// would otherwise pick the Japanese glyph shapes.
#include <QFont>

inline QFont DefaultReadingFont()
{
    return QFont(QStringLiteral("Noto Sans CJK SC"), 12);
}
