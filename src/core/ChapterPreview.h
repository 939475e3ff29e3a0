#pragma once
// The chapter a book's record remembers, read from its own bytes in the file
// (FilePlace.h) and shown while the rest of the book is read: the time to the
// first text then depends on the chapter's length, not the book's.
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
