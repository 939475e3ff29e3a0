#include "ReferenceChapterScan.h"

namespace {

const QString kKeywords = QString::fromUtf8("章回卷节集部");
const QString kNumerals = QString::fromUtf8("一二三四五六七八九十零");
const QString kLongNumerals = QString::fromUtf8("零〇一二三四五六七八九十百千万两");

bool IsWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

// The characters that are not a line feed from `from` on, at least
// `minimum` of them: the end of the match, or -1.
qsizetype RestOfLine(const QString &text, qsizetype from, qsizetype minimum)
{
    qsizetype end = from;
    while (end < text.size() && text.at(end) != u'\n')
        ++end;
    return end - from >= minimum ? end : -1;
}

// 第, one to six characters on the same line other than the keyword (as many
// as possible first), the keyword, the rest of the line (possibly nothing).
qsizetype MatchOrdinal(const QString &text, qsizetype at, QChar keyword)
{
    if (text.at(at) != u'第')
        return -1;
    for (qsizetype between = 6; between >= 1; --between) {
        const qsizetype keywordAt = at + 1 + between;
        if (keywordAt >= text.size())
            continue;
        bool others = true;
        for (qsizetype i = at + 1; i < keywordAt; ++i)
            others = others && text.at(i) != keyword && text.at(i) != u'\r' && text.at(i) != u'\n';
        if (others && text.at(keywordAt) == keyword)
            return RestOfLine(text, keywordAt + 1, 0);
    }
    return -1;
}

// A word boundary, one or more numerals (as many as possible first), 、, the
// rest of the line (at least one character).
qsizetype MatchEnumeration(const QString &text, qsizetype at)
{
    const bool wordBefore = at > 0 && IsWordCharacter(text.at(at - 1));
    if (wordBefore == IsWordCharacter(text.at(at)))
        return -1;
    qsizetype run = at;
    while (run < text.size() && kNumerals.contains(text.at(run)))
        ++run;
    for (qsizetype comma = run; comma > at; --comma) {
        if (comma < text.size() && text.at(comma) == u'、') {
            const qsizetype end = RestOfLine(text, comma + 1, 1);
            if (end >= 0)
                return end;
        }
    }
    return -1;
}

// 第, seven to twelve numerals (as many as possible first), any keyword, the
// rest of the line (possibly nothing).
qsizetype MatchLongOrdinal(const QString &text, qsizetype at)
{
    if (text.at(at) != u'第')
        return -1;
    for (qsizetype count = 12; count >= 7; --count) {
        const qsizetype keywordAt = at + 1 + count;
        if (keywordAt >= text.size())
            continue;
        bool numerals = true;
        for (qsizetype i = at + 1; i < keywordAt; ++i)
            numerals = numerals && kLongNumerals.contains(text.at(i));
        if (numerals && kKeywords.contains(text.at(keywordAt)))
            return RestOfLine(text, keywordAt + 1, 0);
    }
    return -1;
}

qsizetype MatchAt(const QString &text, qsizetype at)
{
    for (const QChar keyword : kKeywords) {
        const qsizetype end = MatchOrdinal(text, at, keyword);
        if (end >= 0)
            return end;
    }
    const qsizetype end = MatchEnumeration(text, at);
    return end >= 0 ? end : MatchLongOrdinal(text, at);
}

} // namespace

QList<ChapterHeading> ReferenceChapterScan(const QString &text)
{
    QList<ChapterHeading> headings;
    for (qsizetype at = 0; at < text.size();) {
        const qsizetype end = MatchAt(text, at);
        if (end < 0) {
            ++at;
            continue;
        }
        headings.append({at, text.mid(at, end - at)});
        at = end;
    }
    return headings;
}
