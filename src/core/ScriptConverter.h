#pragma once
// Simplified/Traditional Chinese conversion of a whole text.
#include <QString>

#include <optional>

// The conversion modes, numbered as the classic converter interface numbers them.
enum class ScriptConversion : int {
    ToSimplified = 3,
    ToTraditional = 4,
};

// The text converted to Simplified or Traditional characters. Any other
// mode, or a converter that cannot be loaded, leaves the text unchanged.
QString ConvertScript(const QString &text, ScriptConversion mode);

// How a book's record keeps the script it is shown in: "simplified",
// "traditional", or empty text for the book's own characters; anything else
// reads as the book's own.
QString ScriptKey(std::optional<ScriptConversion> script);
std::optional<ScriptConversion> ScriptFromKey(const QString &key);
