#pragma once
// The books the benchmark opens: generated GBK novels of a given size with
// chapters of about 3 000 characters, mixed heading styles and a table of
// contents at the start. Books of 64 MB and more also carry chapter numbers
// of 7 to 12 numerals.
#include "core/Highlight.h"

#include <QList>
#include <QString>

struct BenchBook {
    QString path;
    qint64 bytes = 0;
    int plantedHeadings = 0;     // table of contents included
    int tableEntries = 0;        // the table of contents, which the index lists as one item
    QList<Highlight> highlights; // BenchHighlights of its text

    // The chapter list's items: the head item, the table, then every chapter.
    int ChapterItems() const { return 1 + 1 + plantedHeadings - tableEntries; }
};

// Writes a book of about `megabytes` MiB into the folder; a book with an
// empty path when it could not be written.
BenchBook WriteBenchBook(int megabytes, const QString &folder);
