#include "ReferenceChapterScan.h"

namespace {

const QString kKeywords = QString::fromUtf8("章回卷节集部");
const QString kNumerals = QString::fromUtf8("一二三四五六七八九十零");
const QString kLongNumerals = QString::fromUtf8("零〇一二三四五六七八九十百千万两");

bool IsWordCharacter(char32_t c)
{
    return QChar::isLetterOrNumber(c) || c == U'_';
}

// The character that ends just before `at`, a surrogate pair taken whole.
char32_t CharacterBefore(const QString &text, qsizetype at)
{
    const QChar last = text.at(at - 1);
    if (last.isLowSurrogate() && at >= 2 && text.at(at - 2).isHighSurrogate())
        return QChar::surrogateToUcs4(text.at(at - 2), last);
    return last.unicode();
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

// 第, one to six characters on the same line other than the keyword, the
// keyword, the rest of the line (possibly nothing). Characters are counted by
// code point: a surrogate pair is one character.
qsizetype MatchOrdinal(const QString &text, qsizetype at, QChar keyword)
{
    if (text.at(at) != u'第')
        return -1;
    qsizetype next = at + 1;
    for (int count = 0; count < 6 && next < text.size(); ++count) {
        const QChar c = text.at(next);
        if (c == keyword || c == u'\r' || c == u'\n')
            break;
        const bool pair = c.isHighSurrogate() && next + 1 < text.size() && text.at(next + 1).isLowSurrogate();
        next += pair ? 2 : 1;
        if (next < text.size() && text.at(next) == keyword)
            return RestOfLine(text, next + 1, 0);
    }
    return -1;
}

// A word boundary, one or more numerals (as many as possible first), 、, the
// rest of the line (at least one character).
qsizetype MatchEnumeration(const QString &text, qsizetype at)
{
    const bool wordBefore = at > 0 && IsWordCharacter(CharacterBefore(text, at));
    if (wordBefore == IsWordCharacter(text.at(at).unicode()))
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

namespace {

bool IsLineBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\u3000';
}

// 第, blanks, 1 to 12 numerals, blanks, a keyword.
bool StartsWithNumberedHeading(QStringView body)
{
    static const QString numerals =
        QString::fromUtf8("零〇一二两三四五六七八九十百千万亿壹贰叁肆伍陆柒捌玖拾佰仟0123456789０１２３４５６７８９");
    if (!body.startsWith(u'第'))
        return false;
    qsizetype at = 1;
    while (at < body.size() && IsLineBlank(body[at]))
        ++at;
    const qsizetype numeralsStart = at;
    while (at < body.size() && numerals.contains(body[at]))
        ++at;
    const qsizetype count = at - numeralsStart;
    while (at < body.size() && IsLineBlank(body[at]))
        ++at;
    return count >= 1 && count <= 12 && at < body.size() && kKeywords.contains(body[at]);
}

bool StartsAsStrictHeading(QStringView body)
{
    static const QStringList words = QString::fromUtf8("序章 楔子 引子 序言 前言 后记 尾声 番外 终章").split(u' ');
    for (const QString &word : words) {
        if (body.startsWith(word))
            return true;
    }
    qsizetype numerals = 0;
    while (numerals < body.size() && kNumerals.contains(body[numerals]))
        ++numerals;
    const bool section = numerals > 0 && numerals < body.size() && body[numerals] == u'、';
    return section || StartsWithNumberedHeading(body);
}

} // namespace

QList<ChapterHeading> ReferenceStrictScan(const QString &text)
{
    QList<ChapterHeading> headings;
    qsizetype lineStart = 0;
    while (lineStart <= text.size()) {
        const qsizetype lineFeed = text.indexOf(u'\n', lineStart);
        const qsizetype lineEnd = lineFeed < 0 ? text.size() : lineFeed;
        qsizetype start = lineStart;
        while (start < lineEnd && IsLineBlank(text[start]))
            ++start;
        const QStringView rest = QStringView(text).mid(start, lineEnd - start);
        const QStringView body = rest.endsWith(u'\r') ? rest.chopped(1) : rest;
        if (!body.isEmpty() && body.size() <= 40 && !body.contains(u'\r') && StartsAsStrictHeading(body))
            headings.append({start, rest.toString()});
        if (lineFeed < 0)
            break;
        lineStart = lineFeed + 1;
    }
    return headings;
}
