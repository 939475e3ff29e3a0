#pragma once
// Keeping one book's record alike on several computers. Each part that
// follows the reader (the place, each choice, the removed headings) carries
// the mark of the user's last change to it (RecordChanges); where two copies
// differ, the part changed last wins, by the time of the user's change, not
// the time the copies met. Bookmarks are a set: both sides' are kept, except
// those deleted on either side.
#include "core/BookRecord.h"

#include <functional>

// Notes in `after.changes` each part that differs from `before` as changed at
// `mark`, and each bookmark of `before` that `after` lacks as deleted. A place
// counts as moved when its chapter or its position changed (or its line, where
// the position is not known): the line alone follows the typography. Without
// `before` (a book's first record), or when the caller knows the user did not
// move (`placeMoved` false), the place keeps its mark.
void NoteUserChanges(const BookRecord *before, BookRecord &after, const ChangeMark &mark, bool placeMoved = true);

// The record the two copies agree on: every synced part from the copy whose
// mark for it is later (on equal times, the greater device id; on equal
// marks, `local`), the bookmarks of both less those either deleted (both
// lists in book order), and the size, modification time and lastRead of
// `local`.
BookRecord MergeRecords(const BookRecord &local, const BookRecord &remote);

// Each part's change mark replaced by what `redate` makes of it (another
// computer's clock may run ahead of this one's).
void RedateChanges(RecordChanges &changes, const std::function<ChangeMark(const ChangeMark &mark)> &redate);
