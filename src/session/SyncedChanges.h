#pragma once
// Another computer's changes merged into the open book's record: the reader
// follows them unless the user has moved since the book was shown, in which
// case the user's place is saved as the newer change.
#include <QString>

struct BookRecord;
class ReadingSession;

// The record of `name` changed from `before` by a merge. A changed encoding,
// chapter rule, removed headings or script reads the open book again; a
// newer place is shown. Returns whether the reader moved to another
// computer's place.
bool OnRecordSynced(ReadingSession &session, const QString &name, const BookRecord &before);
