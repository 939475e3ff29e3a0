#pragma once
// Two hundred highlights (高亮), as a reader who marks one chapter heavily
// might leave there: spread evenly over the chapter that holds the middle of
// the novel's text (the one the measuring window finds with MiddleChapter),
// in every colour, every fourth with a note.
#include "core/Highlight.h"
#include "support/NovelGenerator.h"

#include <QList>

inline constexpr int kBenchHighlights = 200;

QList<Highlight> BenchHighlights(const Novel &novel);

// Makes these the highlights of the book at bookPath in the book store the
// measuring windows open (books.db beside their config.ini), under the
// book's record key; none removes them. A failure is logged by the store.
void PutHighlightsInStore(const QString &bookPath, const QList<Highlight> &highlights);
