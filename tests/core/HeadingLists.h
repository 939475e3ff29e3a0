#pragma once
// Comparing lists of headings with a readable account of the first difference.
#include "core/ChapterHeadings.h"
#include "support/NovelGenerator.h"

// Empty when both lists hold the same headings at the same positions.
QString DifferenceBetween(const QList<ChapterHeading> &expected, const QList<ChapterHeading> &actual);

QList<ChapterHeading> AsChapterHeadings(const QList<PlantedHeading> &planted);
