#include "core/ChapterPattern.h"

const QRegularExpression &ChapterPattern()
{
    // Unicode properties make Chinese characters word characters for \b, so a
    // numbered heading such as 一、概述 matches at a line start or after
    // punctuation, but not inside a run of Chinese text.
    // The numerals before 、 are a class, not a group of alternatives: a
    // repeated group costs the engine stack for every numeral and fails on
    // long runs.
    // Nothing needs to follow the keyword, so a heading that stands alone on
    // its line is found also with bare LF line ends and at the end of the text.
    // The characters between 第 and the keyword stay on one line: a bare
    // volume heading (第一卷) must not swallow the chapter heading below it.
    // Chapter numbers of seven to twelve numerals (第一千二百三十四章) have an
    // alternative of their own, tried last; it admits numerals only, so prose
    // such as 第一次见到这篇文章 stays out.
    static const QRegularExpression pattern(
        QStringLiteral(
            R"(第[^章\r\n]{1,6}章[^\n]*|第[^回\r\n]{1,6}回[^\n]*|第[^卷\r\n]{1,6}卷[^\n]*|第[^节\r\n]{1,6}节[^\n]*|第[^集\r\n]{1,6}集[^\n]*|第[^部\r\n]{1,6}部[^\n]*|\b[一二三四五六七八九十零]+、[^\n]+|第[零〇一二三四五六七八九十百千万两]{7,12}[章回卷节集部][^\n]*)"),
        QRegularExpression::UseUnicodePropertiesOption);
    return pattern;
}
