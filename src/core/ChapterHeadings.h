#pragma once
// Finding the chapter headings of a loaded book, and the two other pieces of
// the chapter index: the trimmed book text and the head item.
#include <QList>
#include <QRegularExpression>
#include <QString>

struct ChapterHeading {
    qsizetype position; // 0-based position of the heading's first character
    QString text;       // to the end of its line, the CR of a CR LF included

    bool operator==(const ChapterHeading &) const = default;
};

// Every match of ChapterPattern() in book order, without overlaps: after a
// match the search resumes right behind it.
QList<ChapterHeading> FindChapterHeadings(const QString &bookText);

// The same search with another expression. It must keep ChapterPattern()'s
// shape: every match starts at "第" or at the first of a run of the numerals
// 一二三四五六七八九十零 that is followed by "、". Exists so that tests can drive
// the engine into errors.
QList<ChapterHeading> FindChapterHeadings(const QString &bookText, const QRegularExpression &pattern);

// The text with every surrogate that has no partner replaced by U+FFFD, so
// that the expression engine can take it as well-formed; positions stay.
QString WellFormedSubject(const QString &text);

// The book's first line together with the CR of its CR LF; empty when the
// text holds no CR LF.
QString HeadItemOf(const QString &bookText);

// Removes the blanks (space, tab, U+3000) at both ends, and at the start also
// any line ends, so the head item is the first line that holds text. Line ends
// at the end stay: the last line keeps its CR like every other line.
void TrimBookText(QString &text);
