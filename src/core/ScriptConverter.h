#pragma once
// Simplified/Traditional Chinese conversion of a whole text.
#include <QString>

// The conversion modes, numbered as the classic converter interface numbers them.
enum class ScriptConversion : int {
    ToSimplified = 3,
    ToTraditional = 4,
};

// The text converted to Simplified or Traditional characters. Any other
// mode, or a converter that cannot be loaded, leaves the text unchanged.
QString ConvertScript(const QString &text, ScriptConversion mode);
