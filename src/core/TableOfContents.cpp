#include "core/TableOfContents.h"

namespace {

constexpr qsizetype kShortestTable = 5;
const QString kTitle = QStringLiteral("目录");

bool IsBlank(QStringView text)
{
    for (const QChar c : text)
        if (c != u' ' && c != u'\t' && c != u'\r' && c != u'\n' && c != u'\u3000')
            return false;
    return true;
}

qsizetype EndOf(const ChapterHeading &heading)
{
    return heading.position + heading.text.size();
}

// Whether text stands between the heading and the next one (or the end).
bool HasText(const QString &text, const QList<ChapterHeading> &headings, qsizetype n)
{
    const qsizetype end = EndOf(headings[n]);
    const qsizetype next = n + 1 < headings.size() ? headings[n + 1].position : text.size();
    return next > end && !IsBlank(QStringView(text).sliced(end, next - end));
}

// How many headings from the first on follow one another with only blanks
// between them. The last of such a run that has text after it is the first
// chapter of the book, right after its table.
qsizetype TableLength(const QString &text, const QList<ChapterHeading> &headings)
{
    qsizetype length = 0;
    while (length < headings.size() && (length == 0 || !HasText(text, headings, length - 1)))
        ++length;
    if (length > 0 && HasText(text, headings, length - 1))
        --length;
    return length;
}

// The 目录 line right before the table, when there is one and it is not the
// book's first line: where it starts and its text to the end of its line.
ChapterHeading TitleItem(const QString &text, qsizetype tableStart)
{
    qsizetype lineEnd = tableStart;
    while (lineEnd > 0 && IsBlank(QStringView(text).sliced(lineEnd - 1, 1)))
        --lineEnd;
    if (lineEnd == 0)
        return {tableStart, kTitle};
    const qsizetype lineStart = text.lastIndexOf(u'\n', lineEnd - 1) + 1;
    const QStringView line = QStringView(text).sliced(lineStart, lineEnd - lineStart);
    if (lineStart == 0 || line.trimmed() != kTitle)
        return {tableStart, kTitle};
    const qsizetype carriageReturn = lineEnd < text.size() && text[lineEnd] == u'\r' ? 1 : 0;
    return {lineStart, text.mid(lineStart, lineEnd - lineStart + carriageReturn)};
}

} // namespace

QList<ChapterHeading> FoldTableOfContents(const QString &text, QList<ChapterHeading> headings)
{
    const qsizetype length = TableLength(text, headings);
    if (length < kShortestTable)
        return headings;
    const ChapterHeading item = TitleItem(text, headings.first().position);
    headings.remove(0, length);
    headings.prepend(item);
    return headings;
}
