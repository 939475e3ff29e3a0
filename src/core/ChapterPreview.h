#pragma once
// The chapter a book's record remembers, read from its own bytes in the file
// (FilePlace.h) and shown while the rest of the book is read: the time to the
// first text then depends on the chapter's length, not the book's. A book
// never opened shows its first screen the same way.
#include "core/BookRecord.h"
#include "core/OpenBook.h"

#include <QFile>

#include <optional>

// A preview holds no more than this many bytes of the file: a chapter longer
// than that (a book without headings) is read with the book.
inline constexpr qint64 kLongestPreview = 8 << 20;

// The chapter that `record` places in `file`, open for reading, as a book of
// that one chapter (no folder or file name given): its text, what the whole book
// gives for that chapter; its one item, the chapter's first line; its
// encoding, the one the place was read in. nullopt, and nothing to show,
// unless the file still has the size and modification time the record
// knew, the record knows where the chapter lies, that place was read in the
// encoding the reader chose for the book (when it chose one), and the bytes
// decode, whole and without a NUL, to a text whose first line is the
// chapter title the record keeps: a preview is the chapter or none.
std::optional<OpenBook> ReadChapterPreview(QFile &file, const BookRecord &record);

// A first screen is read from no more than this many bytes at the file's start.
inline constexpr qint64 kFirstScreenBytes = 64 << 10;

// The first chapter of `book`, a book being read whose folder, file name,
// size, encoding and rule are known but whose text is not, read from the
// first kFirstScreenBytes of `file` as the whole book's reading decodes them
// and cut by the book's rule; a book of that one item, whose text is the
// chapter or, when the chapter runs past those bytes, its whole lines in
// them. The file is left at its start. nullopt when the bytes hold no whole
// line to show.
std::optional<OpenBook> ReadFirstScreen(QIODevice &file, const OpenBook &book);
