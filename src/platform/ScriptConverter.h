#pragma once
// Simplified/Traditional Chinese conversion of a whole text.
#include <QString>

constexpr int kToSimplified = 3;
constexpr int kToTraditional = 4;

// The text converted to Simplified (kToSimplified) or Traditional
// (kToTraditional) characters. Any other mode, or a converter that cannot be
// loaded, leaves the text unchanged.
QString ConvertScript(const QString &text, int mode);
