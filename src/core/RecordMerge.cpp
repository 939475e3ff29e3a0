#include "core/RecordMerge.h"

#include <algorithm>

namespace {

// A bookmark is the same one wherever it is kept: made at that place at that
// moment. One made again after a deletion is another.
bool SameBookmark(const Bookmark &a, const Bookmark &b)
{
    return a.position == b.position && a.created == b.created;
}

bool Holds(const QList<Bookmark> &bookmarks, const Bookmark &bookmark)
{
    return std::any_of(bookmarks.cbegin(), bookmarks.cend(),
                       [&bookmark](const Bookmark &held) { return SameBookmark(held, bookmark); });
}

void AddMissing(QList<Bookmark> &to, const QList<Bookmark> &from)
{
    for (const Bookmark &bookmark : from)
        if (!Holds(to, bookmark))
            to.append(bookmark);
}

// Both computers keep the lists in one order, so that equal sets give equal
// files.
void SortBookmarks(QList<Bookmark> &bookmarks)
{
    std::sort(bookmarks.begin(), bookmarks.end(), [](const Bookmark &a, const Bookmark &b) {
        return std::pair(a.position, a.created) < std::pair(b.position, b.created);
    });
}

bool PlaceMoved(const BookRecord &a, const BookRecord &b)
{
    if (a.chapter != b.chapter || a.chapterTitle != b.chapterTitle || a.position != b.position)
        return true;
    return a.position < 0 && a.line != b.line;
}

// One part of a record that follows the reader: its mark, whether two records
// differ in it, and taking it from one record into another.
struct SyncedPart {
    ChangeMark RecordChanges::*mark;
    bool (*differs)(const BookRecord &a, const BookRecord &b);
    void (*take)(BookRecord &to, const BookRecord &from);
};

const SyncedPart kSyncedParts[] = {
    {&RecordChanges::place, PlaceMoved,
     [](BookRecord &to, const BookRecord &from) {
         to.chapter = from.chapter;
         to.chapterTitle = from.chapterTitle;
         to.line = from.line;
         to.position = from.position;
     }},
    {&RecordChanges::encoding, [](const BookRecord &a, const BookRecord &b) { return a.encoding != b.encoding; },
     [](BookRecord &to, const BookRecord &from) { to.encoding = from.encoding; }},
    {&RecordChanges::chapterRule,
     [](const BookRecord &a, const BookRecord &b) { return a.chapterRule != b.chapterRule; },
     [](BookRecord &to, const BookRecord &from) { to.chapterRule = from.chapterRule; }},
    {&RecordChanges::removedHeadings,
     [](const BookRecord &a, const BookRecord &b) {
         return a.removedHeadings != b.removedHeadings || a.removedUnderRule != b.removedUnderRule;
     },
     [](BookRecord &to, const BookRecord &from) {
         to.removedHeadings = from.removedHeadings;
         to.removedUnderRule = from.removedUnderRule;
     }},
    {&RecordChanges::script, [](const BookRecord &a, const BookRecord &b) { return a.script != b.script; },
     [](BookRecord &to, const BookRecord &from) { to.script = from.script; }},
};

// Whether `a` was made after `b`: the later time, on equal times the greater
// device id, so that both computers choose alike.
bool IsLater(const ChangeMark &a, const ChangeMark &b)
{
    return a.time > b.time || (a.time == b.time && a.device > b.device);
}

} // namespace

void NoteUserChanges(const BookRecord *before, BookRecord &after, const ChangeMark &mark, bool placeMoved)
{
    const BookRecord none;
    const BookRecord &was = before ? *before : none;
    for (const SyncedPart &part : kSyncedParts) {
        const bool stayed = (!before || !placeMoved) && part.mark == &RecordChanges::place;
        if (!stayed && part.differs(was, after))
            after.changes.*part.mark = mark;
    }
    for (const Bookmark &bookmark : was.bookmarks)
        if (!Holds(after.bookmarks, bookmark) && !Holds(after.changes.deletedBookmarks, bookmark))
            after.changes.deletedBookmarks.append(bookmark);
}

BookRecord MergeRecords(const BookRecord &local, const BookRecord &remote)
{
    BookRecord merged = local;
    for (const SyncedPart &part : kSyncedParts) {
        if (IsLater(remote.changes.*part.mark, local.changes.*part.mark)) {
            part.take(merged, remote);
            merged.changes.*part.mark = remote.changes.*part.mark;
        }
    }
    AddMissing(merged.changes.deletedBookmarks, remote.changes.deletedBookmarks);
    AddMissing(merged.bookmarks, remote.bookmarks);
    merged.bookmarks.removeIf(
        [&merged](const Bookmark &bookmark) { return Holds(merged.changes.deletedBookmarks, bookmark); });
    SortBookmarks(merged.bookmarks);
    SortBookmarks(merged.changes.deletedBookmarks);
    return merged;
}
