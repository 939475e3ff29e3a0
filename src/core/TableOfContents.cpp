#include "core/TableOfContents.h"

namespace {

constexpr qsizetype kShortestTable = 5;
// The longest line a table of contents runs on over: 正文, 以下是正文, ------.
constexpr qsizetype kLongestLineWithin = 20;
const QString kTitle = QStringLiteral("目录");

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\u3000';
}

qsizetype EndOf(const ChapterHeading &heading)
{
    return heading.position + heading.text.size();
}

// Whether a table of contents runs on past heading n: between it and the next
// heading (or the end) stand only blanks and at most one line of at most
// kLongestLineWithin characters (UTF-16 code units, from its first character
// that is no blank to its last). Reads no further than the first line that is
// more.
bool RunsOn(const QString &text, const QList<ChapterHeading> &headings, qsizetype n)
{
    const qsizetype next = n + 1 < headings.size() ? headings[n + 1].position : text.size();
    int lines = 0;
    qsizetype lineStart = -1; // of the line's text; -1 before it
    for (qsizetype at = EndOf(headings[n]); at < next; ++at) {
        const QChar c = text[at];
        if (c == u'\n')
            lineStart = -1;
        if (IsBlank(c))
            continue;
        if (lineStart < 0) {
            lineStart = at;
            ++lines;
        }
        if (lines > 1 || at - lineStart >= kLongestLineWithin)
            return false;
    }
    return true;
}

// How many headings from the first on make a table of contents: each but the
// last has at most a short line after it (RunsOn). The heading that ends the
// table, followed by more (its chapter's text), is the book's first chapter.
qsizetype TableLength(const QString &text, const QList<ChapterHeading> &headings)
{
    qsizetype length = 0;
    while (length < headings.size() && RunsOn(text, headings, length))
        ++length;
    return length;
}

// The 目录 line right before the table, when there is one and it is not the
// book's first line: where it starts and its text to the end of its line.
ChapterHeading TitleItem(const QString &text, qsizetype tableStart)
{
    qsizetype lineEnd = tableStart;
    while (lineEnd > 0 && IsBlank(text[lineEnd - 1]))
        --lineEnd;
    if (lineEnd == 0)
        return {tableStart, kTitle, false};
    const qsizetype lineStart = text.lastIndexOf(u'\n', lineEnd - 1) + 1;
    const QStringView line = QStringView(text).sliced(lineStart, lineEnd - lineStart);
    if (lineStart == 0 || line.trimmed() != kTitle)
        return {tableStart, kTitle, false};
    const qsizetype carriageReturn = lineEnd < text.size() && text[lineEnd] == u'\r' ? 1 : 0;
    return {lineStart, text.mid(lineStart, lineEnd - lineStart + carriageReturn), false};
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
