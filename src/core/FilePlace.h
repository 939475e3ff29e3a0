#pragma once
// Where a place in a book lies in the book's file, as this computer read it:
// enough to show the place's chapter from its own bytes before the rest of
// the book is read. It holds only while the file keeps the size and
// modification time it had, and it stays on this computer: another one may
// have read the book in another encoding or under another rule.
#include <QString>

struct FilePlace {
    // The chapter's bytes: where they start and how many there are.
    qint64 chapterOffset = -1;
    qint64 chapterLength = -1;
    // Where the pane's first visible line starts.
    qint64 lineOffset = -1;
    // The encoding the bytes were read in (TextEncoding::Name()).
    QString encoding;

    // Whether it says where the chapter lies (a place saved before files
    // kept it, or one whose bytes could not be found, does not).
    bool IsKnown() const { return chapterOffset >= 0 && chapterLength >= 0 && !encoding.isEmpty(); }
    bool operator==(const FilePlace &) const = default;
};
