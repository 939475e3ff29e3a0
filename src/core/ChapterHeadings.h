#pragma once
// Finding the chapter headings of a loaded book, and the two other pieces of
// the chapter index: the trimmed book text and the head item.
#include <QList>
#include <QRegularExpression>
#include <QString>

struct ChapterHeading {
    qsizetype position; // 0-based position of the heading's first character
    QString text;       // to the end of its line, the CR of a CR LF included
    // Whether the item counts as one of the book's chapters in a chapter
    // index: the head item and 目录 do not.
    bool numbered = true;

    // The same heading: the same text at the same place. Which item it makes
    // is the index's to say, and no record keeps it.
    bool operator==(const ChapterHeading &other) const { return position == other.position && text == other.text; }
};

// Every match of ChapterPattern() in book order, without overlaps: after a
// match the search resumes right behind it. Positions count from the start
// of `bookText`, which may be a stretch of a book that starts at a line
// start: no match reaches over a line end, and the pattern's one look back
// (\b) sees a line end and the start of the text alike.
QList<ChapterHeading> FindChapterHeadings(QStringView bookText);

// The same search with another expression. It must keep ChapterPattern()'s
// shape: every match starts at "第" or at the first of a run of the numerals
// 一二三四五六七八九十零 that is followed by "、". Exists so that tests can drive
// the engine into errors.
QList<ChapterHeading> FindChapterHeadings(QStringView bookText, const QRegularExpression &pattern);

// What the expression engine is handed for `text`, well-formed so that it
// need not check it: the text itself, or where it holds a surrogate without
// its partner, `copy` filled with the text and each such surrogate replaced
// by U+FFFD. Positions stay.
QStringView WellFormedSubject(QStringView text, QString &copy);

// The book's first line together with the CR of its CR LF; empty when the
// text holds no CR LF.
QString HeadItemOf(const QString &bookText);

// Removes the blanks (space, tab, U+3000) at both ends, and at the start also
// any line ends, so the head item is the first line that holds text. Line ends
// at the end stay: the last line keeps its CR like every other line.
void TrimBookText(QString &text);
// How many characters TrimBookText removes at the start.
qsizetype LeadingBlanks(QStringView text);
