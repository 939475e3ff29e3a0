#pragma once
// Keeping one book's record alike on several computers. Each part that
// follows the reader (the place, each choice, the removed headings) carries
// the mark of the user's last change to it (RecordChanges); where two copies
// differ, the part changed last wins, by the time of the user's change, not
// the time the copies met. Bookmarks are a set: both sides' are kept, except
// those deleted on either side.
#include "core/BookRecord.h"

#include <functional>
#include <optional>

// Notes in `after.changes` each part that differs from `before` as changed at
// `mark`, and each bookmark of `before` that `after` lacks as deleted. A place
// counts as moved when its chapter or its position changed (or its line, where
// the position is not known): the line alone follows the typography. A moved
// place is marked as moved at `placeMovedAt`, the time the user moved it,
// which may be long before the record is written (a save, a sync, a book
// shown again never makes an old place new). Without `before` (a book's
// first record), or without a time (the user did not move: the place was
// measured anew or shown where a record put it), the place keeps its mark.
void NoteUserChanges(const BookRecord *before, BookRecord &after, const ChangeMark &mark,
                     std::optional<qint64> placeMovedAt);
// The same, a moved place moved at the time of `mark`.
inline void NoteUserChanges(const BookRecord *before, BookRecord &after, const ChangeMark &mark)
{
    NoteUserChanges(before, after, mark, mark.time);
}

// The record the two copies agree on: every synced part from the copy whose
// mark for it is later (on equal times, the greater device id; on equal
// marks, `local`), the bookmarks of both less those either deleted (both
// lists in book order), and the size, modification time, lastRead and
// progress of `local` (a place taken from `remote` has its progress and its
// place in the file measured when the book is shown there).
BookRecord MergeRecords(const BookRecord &local, const BookRecord &remote);

// Each part's change mark replaced by what `redate` makes of it (another
// computer's clock may run ahead of this one's).
void RedateChanges(RecordChanges &changes, const std::function<ChangeMark(const ChangeMark &mark)> &redate);
