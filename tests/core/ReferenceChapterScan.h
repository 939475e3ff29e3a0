#pragma once
// A slow, literal reading of the chapter pattern, to check the real search
// against: character by character, each alternative tried in order.
#include "core/ChapterHeadings.h"

QList<ChapterHeading> ReferenceChapterScan(const QString &text);
