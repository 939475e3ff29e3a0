#pragma once
// Saving an edited chapter into the book file it came from. The file is
// rewritten whole through a temporary file beside it and a rename, so that a
// crash or a full disk leaves the old book or the new one, never half of it;
// the first save keeps the file as it was beside it, as "<name>.bak" (which
// the book list does not show: its name does not end in ".txt").
#include "core/BookRewrite.h"
#include "core/TextEncodingDetector.h"

#include <QString>

// The book file as it was read and the change made to its text.
struct BookEdit {
    // The book path (a folder and a kept file name, BookFileName.h).
    QString bookPath;
    // The file's size and modification time (OpenBook) when its text was read.
    qint64 fileSize = -1;
    qint64 fileModified = 0;
    TextEncoding encoding;
    // The book text as read (OpenBook::BookText).
    QString bookText;
    TextChange change;
};

struct BookSaveResult {
    enum Outcome {
        Saved,
        // The file's size or modification time is no longer the one read.
        ChangedOnDisk,
        // The file's bytes are not the book text (RewrittenBook::TextMismatch).
        TextMismatch,
        Unencodable,
        // Reading or writing failed; `reason` says why.
        Failed,
    };
    Outcome outcome = Failed;
    QString reason;
};

// The backup path of a book file: its path with ".bak" added.
QString BackupPathOf(const QString &bookPath);

// Writes the book file with the edit made, the backup first when there is none
// yet. On any outcome but Saved the book file is as it was. Blocks: meant for
// a thread of the pool.
BookSaveResult SaveBookEdit(const BookEdit &edit);
