#pragma once
#include <QList>
#include <QString>
struct ChapterHeading { qsizetype position; QString text; };
QList<ChapterHeading> FindChapterHeadings(const QString &bookText);
QString HeadItemOf(const QString &bookText);
QString TrimBookText(const QString &text);
