#include "ChapterPattern.h"

const QRegularExpression &ChapterPattern()
{
    // Unicode properties make Chinese characters word characters for \b, so a
    // numbered heading such as 一、概述 matches at a line start or after
    // punctuation, but not inside a run of Chinese text.
    // The numerals are a class, not a group of alternatives: a repeated group
    // costs the engine stack for every numeral and fails on long runs.
    static const QRegularExpression pattern(
        QStringLiteral(R"(第[^章]{1,6}章[^\n]+|第[^回]{1,6}回[^\n]+|第[^卷]{1,6}卷[^\n]+|第[^节]{1,6}节[^\n]+|第[^集]{1,6}集[^\n]+|第[^部]{1,6}部[^\n]+|\b[一二三四五六七八九十零]+、[^\n]+)"),
        QRegularExpression::UseUnicodePropertiesOption);
    return pattern;
}
