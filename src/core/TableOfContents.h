#pragma once
// A table of contents at the start of a book: its entries are headings too,
// and listing each of them would put thousands of one-line chapters in front
// of the real ones.
#include "core/ChapterHeadings.h"

#include <QList>
#include <QString>

// The headings of `text` with a table of contents folded into one item: a run
// of at least five headings, from the book's first heading on, with nothing
// between them but blank lines, indentation and at most one short line (up to
// 20 characters: 正文, 以下是正文, ------) each. The heading that ends the run
// is followed by more, its chapter's text, and is the book's first chapter.
// The item, titled 目录, starts at a line "目录" right before the run (blank
// lines between allowed), unless that line opens the book, else at the run's
// first heading; its chapter is the table, and it is no numbered chapter.
// Headings without such a run come back as they are.
QList<ChapterHeading> FoldTableOfContents(const QString &text, QList<ChapterHeading> headings);
